#pragma once
// What an operation of the main window tells its caller (the window ignores it; the command
// line turns it into its exit code).
namespace quorvane {

enum OperationResult : int {
    kOperationDone = 0,      // sent, and answered with success where the session waits
    kOperationFailed = -1,   // refused input, nothing sent, a failure reply or no reply
    kOperationDeclined = -2, // the person answered No (or Cancel) to the question
};

} // namespace quorvane
