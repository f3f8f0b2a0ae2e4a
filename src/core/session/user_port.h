#pragma once
// How operations talk to a person. The main window implements it with Qt, the command line
// with the terminal, tests with a recording fake. Texts are UTF-8.
#include <functional>
#include <optional>
#include <string>

namespace quorvane {

enum class Answer { Yes, No, Cancel };

class UserPort {
  public:
    virtual ~UserPort() = default;

    // A reply notice in the "系统" box. Must never block the calling thread for long: the
    // receive thread calls it.
    virtual void showNotice(const std::string& text) = 0;
    // A message box of an operation (title empty: the window's own title).
    virtual void showMessage(const std::string& text, const std::string& title = {}) = 0;
    virtual bool askYesNo(const std::string& text) = 0;
    // The same for a question whose Yes cannot be undone (wiping a controller): No is the
    // default button, so Enter never says Yes.
    virtual bool askYesNoDefaultNo(const std::string& text) { return askYesNo(text); }
    virtual Answer askYesNoCancel(const std::string& text) = 0;
    // Progress text of a long operation, and how far it is (done of total; total 0: unknown).
    virtual void progress(const std::string& text, long done = 0, long total = 0) = 0;
    // A file to open or to save; nothing when the person cancels. filter uses the
    // "desc|pattern|desc|pattern||" form.
    virtual std::optional<std::string> pickOpenFile(const std::string& filter) = 0;
    virtual std::optional<std::string> pickSaveFile(const std::string& defaultExt,
                                                    const std::string& filter,
                                                    const std::string& defaultName = {}) = 0;
    // Opens a document with the desktop's default program, optionally waiting for it.
    virtual void openDocument(const std::string& path, bool wait) = 0;
    // Keeps the window busy (disabled, wait cursor) between begin and end; calls nest.
    virtual void beginBusy() = 0;
    virtual void endBusy() = 0;
    // Lets the window process pending events during a wait on the window's thread.
    virtual void pumpEvents() = 0;
    // Runs work that blocks until something outside ends (a script the tool waits for); a
    // window keeps drawing itself and handling its timers meanwhile. The default just runs it.
    virtual void runBlocking(const std::function<void()>& work) { work(); }
    // True when the person asked to stop a long operation.
    virtual bool cancelRequested() { return false; }
};

// Scoped busy window for the length of an operation.
class WinDisabler {
  public:
    explicit WinDisabler(UserPort& port) : port_(port) { port_.beginBusy(); }
    ~WinDisabler() { port_.endBusy(); }
    WinDisabler(const WinDisabler&) = delete;
    WinDisabler& operator=(const WinDisabler&) = delete;

  private:
    UserPort& port_;
};

} // namespace quorvane
