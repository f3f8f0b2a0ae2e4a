#pragma once
// The document a command prints with --json. Every such run that gets past its words ends
// with exactly one document on standard output: the command puts its data in, and the runner
// prints it with what every document has (the command, whether it succeeded, its exit code
// and the texts the window would have shown). Commands whose document is a list of rows
// (search, logs fetch) print their own and mark it printed.
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace quorvane {
struct BatchResult;
struct RightBatchResult;
} // namespace quorvane

namespace quorvane::cli {

class JsonReport {
  public:
    explicit JsonReport(std::string command);

    nlohmann::ordered_json& document() { return document_; }
    // For a command that printed a document of its own.
    void markPrinted() { printed_ = true; }
    // The document with "ok", "exit" and "messages" (shown, in order), unless one was printed.
    void finish(std::ostream& out, int exitCode, const std::vector<std::string>& shown);

  private:
    nlohmann::ordered_json document_;
    bool printed_ = false;
};

// One item of a batch that did not succeed, and why: "refused" (the controller answered with
// a failure), "unanswered", "invalid" (not sent: the item is not one the request can carry)
// or "stopped" (the batch was cancelled before the item came to an end).
struct FailedItem {
    std::string item;
    std::string reason;
};

// The counts of a batch of `total` items and its failed items: done (items that came to an
// end: succeeded, refused, invalid or unanswered), succeeded, failed (refused or invalid),
// unanswered, cancelled, then "failures".
void putBatch(nlohmann::ordered_json& document, long total, long succeeded, bool cancelled,
              const std::vector<FailedItem>& failures);

// A batch of the runner whose item i is names[i].
void putBatch(nlohmann::ordered_json& document, const BatchResult& batch,
              const std::vector<std::string>& names);

// The rights dialog's batch of cards, with the failure file when one was written.
void putBatch(nlohmann::ordered_json& document, const RightBatchResult& batch);

} // namespace quorvane::cli
