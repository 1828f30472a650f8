#include "tools/setup/file_copy.h"

#include "tools/setup/plain_words.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace setup {

namespace fs = std::filesystem;

namespace {

constexpr size_t chunkSize = 64 * 1024;

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

// A file descriptor that closes itself.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closing can report the last delayed write error; it must be looked at.
    std::error_code close()
    {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            return lastError();
        return {};
    }

private:
    int fd_;
};

// Reads up to `size` bytes, retrying short reads; returns the count or -1.
ssize_t readFully(int fd, char* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

bool writeFully(int fd, const char* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string copyContents(const fs::path& source, const fs::path& target, const std::string& shownName,
                         const CopiedBytes& copied)
{
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid())
        return describeFailure("прочитать", shownName, lastError());
    Descriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!out.valid())
        return describeFailure("создать", shownName, lastError());

    std::vector<char> buffer(chunkSize);
    for (;;) {
        ssize_t n = readFully(in.get(), buffer.data(), buffer.size());
        if (n < 0)
            return describeFailure("прочитать", shownName, lastError());
        if (n == 0)
            break;
        if (!writeFully(out.get(), buffer.data(), static_cast<size_t>(n)))
            return describeFailure("записать", shownName, lastError());
        if (copied)
            copied(static_cast<uint64_t>(n));
    }
    if (::fsync(out.get()) != 0)
        return describeFailure("записать", shownName, lastError());
    if (std::error_code error = out.close())
        return describeFailure("записать", shownName, error);
    return {};
}

std::string compareContents(const fs::path& source, const fs::path& target, const std::string& shownName)
{
    Descriptor a(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    Descriptor b(::open(target.c_str(), O_RDONLY | O_CLOEXEC));
    if (!a.valid() || !b.valid())
        return describeFailure("проверить", shownName, lastError());
    std::vector<char> left(chunkSize);
    std::vector<char> right(chunkSize);
    for (;;) {
        ssize_t n = readFully(a.get(), left.data(), left.size());
        ssize_t m = readFully(b.get(), right.data(), right.size());
        if (n < 0 || m < 0)
            return describeFailure("проверить", shownName, lastError());
        if (n != m || !std::equal(left.begin(), left.begin() + n, right.begin()))
            return "Копия «" + shownName + "» на устройстве не совпадает с оригиналом.";
        if (n == 0)
            return {};
    }
}

} // namespace

std::string copyFileChecked(const fs::path& source, const fs::path& target, const std::string& shownName,
                            const CopiedBytes& copied)
{
    std::string failure = copyContents(source, target, shownName, copied);
    if (failure.empty())
        failure = compareContents(source, target, shownName);
    if (!failure.empty()) {
        std::error_code ignored;
        fs::remove(target, ignored);
    }
    return failure;
}

std::string copyTreeChecked(const fs::path& source, const fs::path& target, const std::string& shownName,
                            const FileStarted& started, const CopiedBytes& copied)
{
    std::error_code error;
    fs::remove_all(target, error);
    if (error)
        return describeFailure("удалить", shownName, error);
    if (!fs::create_directory(target, error) || error)
        return describeFailure("создать папку", shownName, error ? error : std::make_error_code(std::errc::file_exists));

    fs::directory_iterator entries(source, error);
    if (error)
        return describeFailure("прочитать папку", shownName, error);
    for (const fs::directory_entry& entry : entries) {
        std::string name = shownName + "\\" + entry.path().filename().string();
        fs::path to = target / entry.path().filename();
        fs::file_status status = fs::status(entry.path(), error);
        if (error)
            return describeFailure("прочитать", name, error);
        std::string failure;
        if (fs::is_directory(status)) {
            failure = copyTreeChecked(entry.path(), to, name, started, copied);
        } else if (fs::is_regular_file(status)) {
            if (started)
                started(name);
            failure = copyFileChecked(entry.path(), to, name, copied);
        } else {
            failure = "«" + name + "» — не файл и не папка; такое не устанавливается.";
        }
        if (!failure.empty())
            return failure;
    }
    return {};
}

uint64_t bytesToCopy(const fs::path& path)
{
    std::error_code error;
    if (fs::is_regular_file(path, error))
        return fs::file_size(path, error);
    uint64_t total = 0;
    for (fs::recursive_directory_iterator it(path, fs::directory_options::follow_directory_symlink, error), end;
         !error && it != end; it.increment(error)) {
        std::error_code sizeError;
        if (it->is_regular_file(sizeError)) {
            uint64_t size = it->file_size(sizeError);
            if (!sizeError)
                total += size;
        }
    }
    return total;
}

} // namespace setup
