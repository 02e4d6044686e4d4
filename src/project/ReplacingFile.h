#pragma once
// Replacing a file without ever losing the previous one. The new content goes to a temporary
// file beside the target, with a unique name, created exclusively (a link or a file already
// standing at that name is never followed, written or removed). Every write, the flush, the
// sync and the close are checked; the temporary takes the replaced file's permissions and only
// then is renamed over the target. Any failure removes the temporary and leaves the target as
// it was.
//
// A symbolic link as the target is followed: the file it names is replaced and the link stays;
// for a file whose name the program generates (LinkAtTarget::Replace) the link itself is
// replaced and its target never written. A read-only target is refused, not replaced. A device
// or a pipe as the target (/dev/null) is written directly, as there is nothing to replace (a
// generated name refuses them). A set of files is replaced all or nothing by closing every one
// (close) before committing any: a commit then only renames.
//
// The temporaries being written are listed process-wide, so that a signal handler that ends
// the program can remove them (removeTemporaryFiles).

#include <cstdio>
#include <string>

namespace ardelon {

enum class LinkAtTarget { Follow, Replace };

class ReplacingFile {
  public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    // Creates the temporary file for `path`. Returns an empty string, or the reason the file
    // cannot be written, in the system's words ("Permission denied", "the file is read-only").
    std::string open(const std::string& path, LinkAtTarget links = LinkAtTarget::Follow);
    bool isOpen() const { return stream_ != nullptr; }

    // The stream to write the content to.
    std::FILE* stream() const { return stream_; }
    // A name under which a library that writes files by name reaches the temporary file itself
    // (the open descriptor through /proc where it exists), never the target.
    std::string nameForWriting() const;

    // Flushes, syncs and closes the temporary file and moves it over the target. Returns an
    // empty string or the reason of the failure; on failure the target is untouched.
    // `writeError` is the errno of a write the caller saw fail (0: none).
    std::string commit(int writeError = 0);
    // Flushes, syncs and closes the temporary file without moving it. Returns an empty string
    // or the reason of the failure (the temporary is then removed).
    std::string close(int writeError = 0);
    // Closes and removes the temporary file; the target is untouched.
    void discard();

    // The file that is replaced: the target with its symbolic links resolved.
    const std::string& targetPath() const { return target_; }
    const std::string& temporaryPath() const { return temporary_; }

  private:
    std::string finish(int writeError);

    std::FILE* stream_ = nullptr;
    std::string target_;
    std::string temporary_;
    int registration_ = -1;
    bool direct_ = false;   // a device or pipe written in place
    bool pending_ = false;  // closed, not yet moved over the target
};

// Writes `size` bytes as the new content of `path`. Empty string or the reason of the failure.
std::string replaceFileContents(const std::string& path, const void* data, std::size_t size);

// Removes every temporary file that is being written. Async-signal-safe: a handler of a signal
// that ends the program calls it so that no partial file stays behind.
void removeTemporaryFiles() noexcept;

// Fault injection for tests: the call that closes a temporary file's stream (std::fclose
// unless replaced). Returns the previous one.
using StreamCloser = int (*)(std::FILE*);
StreamCloser setStreamCloserForTesting(StreamCloser closer);

}  // namespace ardelon
