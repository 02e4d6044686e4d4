#include "project/ReplacingFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace ardelon {
namespace {

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

// The temporaries being written, for removal from a signal handler: fixed storage, claimed and
// released through atomic states (free, being filled, listed), so the handler never allocates
// and never sees a half-written path.
constexpr int kTemporarySlots = 32;
struct TemporarySlot {
    std::atomic<int> state{0};
    char path[PATH_MAX]{};
};
TemporarySlot temporarySlots[kTemporarySlots];
constexpr int kFree = 0, kFilling = 1, kListed = 2;

int listTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < kTemporarySlots; ++i) {
        TemporarySlot& slot = temporarySlots[i];
        int expected = kFree;
        if (slot.state.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(slot.path, path.c_str(), path.size() + 1);
            slot.state.store(kListed, std::memory_order_release);
            return i;
        }
    }
    return -1;  // more files at once than slots: only signal cleanup is lost for this one
}

void unlistTemporary(int& slot) {
    if (slot >= 0)
        temporarySlots[slot].state.store(kFree, std::memory_order_release);
    slot = -1;
}

std::atomic<StreamCloser> streamCloser{&std::fclose};

// Six letters or digits from the system's random source (a counter if it has none): names are
// unique by exclusive creation, the randomness only makes a clash unlikely.
std::string randomTag() {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned> counter{0};
    unsigned char bytes[6];
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        const unsigned n = counter.fetch_add(1) * 2654435761u ^ static_cast<unsigned>(getpid());
        for (std::size_t i = 0; i < sizeof bytes; ++i)
            bytes[i] = static_cast<unsigned char>(n >> (4 * i));
    }
    std::string tag;
    for (unsigned char b : bytes)
        tag += kAlphabet[b % (sizeof kAlphabet - 1)];
    return tag;
}

// Follows symbolic links from `path` to the file they name (which need not exist yet).
// Returns 0 or the errno of the failure.
int resolveLinks(const std::string& path, std::string& resolved) {
    resolved = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(resolved.c_str(), &st) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode))
            return 0;
        std::error_code ec;
        const std::filesystem::path link = std::filesystem::read_symlink(resolved, ec);
        if (ec)
            return ec.value();
        resolved = link.is_absolute()
                       ? link.string()
                       : (std::filesystem::path(resolved).parent_path() / link).string();
    }
    return ELOOP;
}

}  // namespace

ReplacingFile::~ReplacingFile() {
    discard();
}

std::string ReplacingFile::open(const std::string& path, LinkAtTarget links) {
    discard();
    direct_ = false;
    temporary_.clear();
    if (path.empty())
        return systemReason(ENOENT);
    struct stat st {};
    bool replacing = false;
    if (links == LinkAtTarget::Replace) {
        target_ = path;
        replacing = ::lstat(target_.c_str(), &st) == 0;
        if (replacing && S_ISLNK(st.st_mode))
            replacing = false;  // the new file takes the link's place
        else if (replacing && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
            return "not a regular file";
    } else {
        if (const int error = resolveLinks(path, target_); error != 0)
            return systemReason(error);
        replacing = ::stat(target_.c_str(), &st) == 0;
    }
    if (replacing && S_ISDIR(st.st_mode))
        return systemReason(EISDIR);
    if (replacing && !S_ISREG(st.st_mode)) {
        const int fd = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return systemReason(errno);
        stream_ = ::fdopen(fd, "wb");
        if (stream_ == nullptr) {
            const int error = errno;
            ::close(fd);
            return systemReason(error);
        }
        direct_ = true;
        return {};
    }
    if (replacing && (st.st_mode & 0222) == 0)
        return "the file is read-only";
    if (replacing && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0 &&
        errno == EACCES) {
        return systemReason(EACCES);
    }

    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary_ = target_ + "." + randomTag() + ".saving~";
        fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    replacing ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int error = errno;
        temporary_.clear();
        return systemReason(error);
    }
    registration_ = listTemporary(temporary_);
    int error = 0;
    if (replacing) {
        // The owner first: changing it may clear set-id bits that the mode then restores.
        if (::geteuid() == 0 && ::fchown(fd, st.st_uid, st.st_gid) != 0)
            error = errno;
        if (error == 0 && ::fchmod(fd, st.st_mode & 07777) != 0)
            error = errno;
    }
    if (error == 0 && (stream_ = ::fdopen(fd, "wb")) == nullptr)
        error = errno;
    if (error != 0) {
        ::close(fd);
        ::unlink(temporary_.c_str());
        unlistTemporary(registration_);
        temporary_.clear();
        return systemReason(error);
    }
    return {};
}

std::string ReplacingFile::nameForWriting() const {
    if (stream_ == nullptr)
        return {};
    const std::string self = "/proc/self/fd/" + std::to_string(::fileno(stream_));
    if (::access(self.c_str(), F_OK) == 0)
        return self;
    return direct_ ? target_ : temporary_;
}

std::string ReplacingFile::finish(int writeError) {
    int error = writeError;
    if (std::fflush(stream_) != 0 && error == 0)
        error = errno;
    if (std::ferror(stream_) && error == 0)
        error = EIO;
    if (!direct_ && error == 0 && ::fsync(::fileno(stream_)) != 0)
        error = errno;
    errno = 0;
    if (streamCloser.load()(stream_) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    stream_ = nullptr;
    return error != 0 ? systemReason(error) : std::string();
}

std::string ReplacingFile::close(int writeError) {
    if (stream_ == nullptr)
        return {};
    std::string reason = finish(writeError);
    pending_ = !direct_;
    if (!reason.empty())
        discard();
    return reason;
}

std::string ReplacingFile::commit(int writeError) {
    if (std::string reason = close(writeError); !reason.empty())
        return reason;
    if (!pending_)
        return {};
    std::string reason;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        reason = systemReason(errno);
        ::unlink(temporary_.c_str());
    }
    pending_ = false;
    unlistTemporary(registration_);
    return reason;
}

void ReplacingFile::discard() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
        pending_ = !direct_;
    }
    if (!pending_)
        return;
    ::unlink(temporary_.c_str());
    pending_ = false;
    unlistTemporary(registration_);
}

std::string replaceFileContents(const std::string& path, const void* data, std::size_t size) {
    ReplacingFile file;
    if (std::string reason = file.open(path); !reason.empty())
        return reason;
    errno = 0;
    int writeError = 0;
    if (std::fwrite(data, 1, size, file.stream()) != size)
        writeError = errno != 0 ? errno : EIO;
    return file.commit(writeError);
}

void removeTemporaryFiles() noexcept {
    for (TemporarySlot& slot : temporarySlots) {
        if (slot.state.load(std::memory_order_acquire) == kListed)
            ::unlink(slot.path);
    }
}

StreamCloser setStreamCloserForTesting(StreamCloser closer) {
    return streamCloser.exchange(closer);
}

}  // namespace ardelon
