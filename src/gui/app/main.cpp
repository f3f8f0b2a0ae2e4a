#include "app/quorvane_app.h"

int main(int argc, char** argv) {
    quorvane::gui::CQuorvaneApp app(argc, argv);
    return app.run();
}
