// The folder of a device's published windows: entry files, the FIFOs of requests, and the removal
// of what dead processes left.
#include "platform/ui/shared_registry.h"

#include "platform/ui/attention.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ui {

namespace {

// An entry: magic, class units, text units, flags, token, handle, then the class and the text in
// UTF-16. A reader takes nothing on trust: every length is checked against the file's size.
constexpr char entryMagic[4] = {'D', 'W', 'E', '1'};
constexpr size_t headerBytes = 32;
constexpr size_t classLimit = 256;
constexpr size_t textLimit = 4096;
constexpr size_t entryLimit = headerBytes + 2 * (classLimit + textLimit);
constexpr uint32_t flagTextCut = 1;

// A request: magic, flags, handle. Writes of this size to a FIFO never interleave.
constexpr uint32_t requestMagic = 0x31515244;
constexpr size_t requestBytes = 16;
constexpr uint32_t flagOwnedPopup = 1;

// A folder that somebody fills with names is read this far and no further.
constexpr size_t scanLimit = 4096;
constexpr int readRounds = 64;

struct Entry {
    uint64_t handle = 0;
    std::string path;
    int fd = -1;  // held with an exclusive lock while the window is published
};

struct Publisher {
    pid_t pid = 0;
    uint64_t token = 0;
    std::string folder;
    int channel = -1;
    std::vector<Entry> entries;
    unsigned serial = 0;
    bool exitHookSet = false;
};

// Never destroyed: the exit hook still needs it after static destruction has begun.
Publisher& publisher()
{
    static auto* state = new Publisher();
    return *state;
}

uint64_t freshToken()
{
    std::random_device device;
    uint64_t token = (static_cast<uint64_t>(device()) << 32) ^ device() ^ static_cast<uint64_t>(getpid());
    return token == 0 ? 1 : token;
}

// A forked child has its parent's descriptors and token: it publishes as a process of its own,
// and closing the copies leaves the parent's locks in place.
Publisher& current()
{
    Publisher& p = publisher();
    if (p.pid == getpid())
        return p;
    for (const Entry& e : p.entries)
        close(e.fd);
    if (p.channel >= 0) {
        if (attention().descriptor == p.channel)
            attention().descriptor = -1;
        close(p.channel);
    }
    p.entries.clear();
    p.channel = -1;
    p.folder.clear();
    p.pid = getpid();
    p.token = freshToken();
    return p;
}

std::string hex16(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

bool readHex16(std::string_view text, uint64_t& value)
{
    if (text.size() != 16)
        return false;
    value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return false;
        value = value << 4 | static_cast<uint64_t>(digit);
    }
    return true;
}

std::string entryName(uint64_t token, uint64_t handle) { return hex16(token) + "-" + hex16(handle) + ".win"; }
std::string channelName(uint64_t token) { return hex16(token) + ".fifo"; }

// "<token>-<handle>.win"
bool parseEntryName(std::string_view name, uint64_t& token, uint64_t& handle)
{
    return name.size() == 37 && name[16] == '-' && name.substr(33) == ".win" && readHex16(name.substr(0, 16), token) &&
           readHex16(name.substr(17, 16), handle);
}

void putU32(std::string& out, uint32_t v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); }
void putU64(std::string& out, uint64_t v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); }

std::string entryBytes(uint64_t token, uint64_t handle, std::u16string_view className, std::u16string_view text)
{
    const bool cut = className.size() > classLimit || text.size() > textLimit;
    className = className.substr(0, classLimit);
    text = text.substr(0, textLimit);
    std::string out(entryMagic, sizeof entryMagic);
    putU32(out, static_cast<uint32_t>(className.size()));
    putU32(out, static_cast<uint32_t>(text.size()));
    putU32(out, cut ? flagTextCut : 0);
    putU64(out, token);
    putU64(out, handle);
    out.append(reinterpret_cast<const char*>(className.data()), className.size() * 2);
    out.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return out;
}

bool writeAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Up to limit bytes; more than that counts as too long.
bool readAtMost(int fd, char* buffer, size_t limit, size_t& got)
{
    got = 0;
    while (got <= limit) {
        const ssize_t n = read(fd, buffer + got, limit + 1 - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        got += static_cast<size_t>(n);
    }
    return false;
}

bool parseEntry(const char* bytes, size_t size, uint64_t token, uint64_t handle, SharedWindow& out)
{
    if (size < headerBytes || std::memcmp(bytes, entryMagic, sizeof entryMagic) != 0)
        return false;
    uint32_t classUnits = 0, textUnits = 0, flags = 0;
    uint64_t tokenIn = 0, handleIn = 0;
    std::memcpy(&classUnits, bytes + 4, 4);
    std::memcpy(&textUnits, bytes + 8, 4);
    std::memcpy(&flags, bytes + 12, 4);
    std::memcpy(&tokenIn, bytes + 16, 8);
    std::memcpy(&handleIn, bytes + 24, 8);
    if (classUnits > classLimit || textUnits > textLimit || size != headerBytes + 2 * (classUnits + textUnits))
        return false;
    // The name says whose it is; content that claims otherwise is not believed.
    if (tokenIn != token || handleIn != handle)
        return false;
    out.owner = token;
    out.handle = handle;
    out.className.resize(classUnits);
    out.text.resize(textUnits);
    std::memcpy(out.className.data(), bytes + headerBytes, classUnits * 2);
    std::memcpy(out.text.data(), bytes + headerBytes + classUnits * 2, textUnits * 2);
    out.textCut = (flags & flagTextCut) != 0;
    return true;
}

// A new file or FIFO under a name nobody reads, so that only complete, locked ones ever carry an
// entry's or a channel's name. The folder may have been removed by the last process leaving it.
std::string temporaryName(Publisher& p) { return p.folder + "/" + hex16(p.token) + "-" + std::to_string(++p.serial) + ".new"; }

template <typename Make>
int makeWithFolder(const std::string& folder, Make make)
{
    int result = make();
    if (result < 0 && errno == ENOENT && mkdir(folder.c_str(), 0700) == 0)
        result = make();
    return result;
}

void closeChannel(Publisher& p)
{
    if (p.channel < 0)
        return;
    unlink((p.folder + "/" + channelName(p.token)).c_str());
    if (attention().descriptor == p.channel)
        attention().descriptor = -1;
    close(p.channel);
    p.channel = -1;
}

int openChannel(Publisher& p)
{
    const std::string temporary = temporaryName(p);
    if (makeWithFolder(p.folder, [&] { return mkfifo(temporary.c_str(), 0600); }) != 0)
        return -1;
    // Read and write: the FIFO never sees its last writer go, so waiting on it never spins.
    const int fd = open(temporary.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    struct stat st{};
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISFIFO(st.st_mode) ||
        rename(temporary.c_str(), (p.folder + "/" + channelName(p.token)).c_str()) != 0) {
        if (fd >= 0)
            close(fd);
        unlink(temporary.c_str());
        return -1;
    }
    p.channel = fd;
    attention().descriptor = fd;
    return 0;
}

// The last one out takes the folder along; a newcomer makes it again.
void leaveFolder(Publisher& p)
{
    if (p.folder.empty())
        return;
    closeChannel(p);
    rmdir(p.folder.c_str());
    p.folder.clear();
}

void withdrawAtExit()
{
    if (publisher().pid == getpid())
        withdrawAllWindows();
}

enum class EntryState { Live, Dead, Unreadable };

// A dead process's entry goes, with its FIFO and half-made files. Under the exclusive lock and
// only while the name still leads to the file examined: a live owner replaces its entry before it
// lets go of the old one, so a file found unlocked at its name belongs to nobody.
void removeDeadEntry(const std::string& path, int fd, const struct stat& examined)
{
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return;
    struct stat now{};
    if (stat(path.c_str(), &now) == 0 && now.st_ino == examined.st_ino && now.st_dev == examined.st_dev)
        unlink(path.c_str());
}

EntryState examineEntry(const std::string& folder, const std::string& name, uint64_t token, uint64_t handle,
                        SharedWindow& out)
{
    const std::string path = folder + "/" + name;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return EntryState::Unreadable;
    struct stat st{};
    EntryState state = EntryState::Unreadable;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        if (flock(fd, LOCK_SH | LOCK_NB) == 0) {
            removeDeadEntry(path, fd, st);
            state = EntryState::Dead;
        } else if (errno == EWOULDBLOCK) {
            char bytes[entryLimit + 1];
            size_t got = 0;
            if (readAtMost(fd, bytes, entryLimit, got) && parseEntry(bytes, got, token, handle, out))
                state = EntryState::Live;
        }
    }
    close(fd);
    return state;
}

// Nobody reads the FIFO: its process died before it published a window, or after it withdrew them.
bool channelOrphaned(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) {
        close(fd);
        return false;
    }
    return errno == ENXIO;
}

void removeLeftovers(const std::string& folder, const std::vector<std::string>& names,
                     const std::vector<uint64_t>& deadTokens)
{
    for (const std::string& name : names) {
        uint64_t token = 0;
        if (name.size() < 17 || !readHex16(std::string_view(name).substr(0, 16), token))
            continue;
        const std::string path = folder + "/" + name;
        if (name == channelName(token)) {
            if (channelOrphaned(path))
                unlink(path.c_str());
            continue;
        }
        const bool dead = std::find(deadTokens.begin(), deadTokens.end(), token) != deadTokens.end();
        if (dead && name.size() > 4 && name.compare(name.size() - 4, 4, ".new") == 0)
            unlink(path.c_str());
    }
}

// Writing to a FIFO whose reader just went raises SIGPIPE, which must not end the asking program.
bool writeQuietly(int fd, const void* data, size_t size)
{
    sigset_t pipeOnly, previous;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    ssize_t n = 0;
    do
        n = write(fd, data, size);
    while (n < 0 && errno == EINTR);
    sigset_t pending;
    int taken = 0;
    if (n < 0 && errno == EPIPE && !sigismember(&previous, SIGPIPE) && sigpending(&pending) == 0 &&
        sigismember(&pending, SIGPIPE))
        sigwait(&pipeOnly, &taken);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return n == static_cast<ssize_t>(size);
}

} // namespace

std::string registryFolder(const std::string& deviceRoot, bool create)
{
    if (deviceRoot.empty())
        return {};
    const char* temporary = std::getenv("TMPDIR");
    // Stable between processes and builds, unlike std::hash.
    uint64_t hash = 0xCBF29CE484222325u;
    for (unsigned char c : deviceRoot)
        hash = (hash ^ c) * 0x100000001B3u;
    const std::string folder = std::string(temporary && *temporary ? temporary : "/tmp") + "/device-windows-" + hex16(hash);
    struct stat st{};
    if (lstat(folder.c_str(), &st) != 0) {
        if (!create || errno != ENOENT || (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) ||
            lstat(folder.c_str(), &st) != 0)
            return {};
    }
    // Somebody else's folder, or a link planted in its place, is not used.
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return {};
    return folder;
}

uint64_t ownToken() { return current().token; }

int publishWindow(const std::string& folder, uint64_t handle, std::u16string_view className, std::u16string_view text)
{
    if (folder.empty())
        return -1;
    Publisher& p = current();
    if (p.folder != folder) {
        withdrawAllWindows();
        p.folder = folder;
    }
    if (p.channel < 0 && openChannel(p) != 0) {
        p.folder.clear();
        return -1;
    }
    const std::string temporary = temporaryName(p);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    const std::string path = p.folder + "/" + entryName(p.token, handle);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || !writeAll(fd, entryBytes(p.token, handle, className, text)) ||
        rename(temporary.c_str(), path.c_str()) != 0) {
        close(fd);
        unlink(temporary.c_str());
        return -1;
    }
    if (!p.exitHookSet) {
        p.exitHookSet = true;
        std::atexit(withdrawAtExit);
    }
    for (Entry& e : p.entries) {
        if (e.handle == handle) {
            // Only now: until the new file had the name, the old one's lock said "alive".
            close(e.fd);
            e.fd = fd;
            return 0;
        }
    }
    p.entries.push_back(Entry{handle, path, fd});
    return 0;
}

void withdrawWindow(uint64_t handle)
{
    Publisher& p = current();
    for (auto it = p.entries.begin(); it != p.entries.end(); ++it) {
        if (it->handle != handle)
            continue;
        unlink(it->path.c_str());
        close(it->fd);
        p.entries.erase(it);
        break;
    }
    if (p.entries.empty())
        leaveFolder(p);
}

void withdrawAllWindows()
{
    Publisher& p = current();
    for (const Entry& e : p.entries) {
        unlink(e.path.c_str());
        close(e.fd);
    }
    p.entries.clear();
    leaveFolder(p);
}

std::vector<SharedWindow> listSharedWindows(const std::string& folder, uint64_t except)
{
    std::vector<SharedWindow> found;
    if (folder.empty())
        return found;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return found;
    std::vector<std::string> names;
    while (names.size() < scanLimit) {
        const dirent* d = readdir(dir);
        if (d == nullptr)
            break;
        names.emplace_back(d->d_name);
    }
    closedir(dir);
    std::vector<uint64_t> deadTokens;
    for (const std::string& name : names) {
        uint64_t token = 0, handle = 0;
        if (!parseEntryName(name, token, handle) || (except != 0 && token == except))
            continue;
        SharedWindow window;
        const EntryState state = examineEntry(folder, name, token, handle, window);
        if (state == EntryState::Live)
            found.push_back(std::move(window));
        else if (state == EntryState::Dead)
            deadTokens.push_back(token);
    }
    removeLeftovers(folder, names, deadTokens);
    return found;
}

bool sharedWindowLive(const std::string& folder, uint64_t owner, uint64_t handle)
{
    SharedWindow window;
    return !folder.empty() && examineEntry(folder, entryName(owner, handle), owner, handle, window) == EntryState::Live;
}

int sendRaiseRequest(const std::string& folder, uint64_t owner, const RaiseRequest& request)
{
    if (folder.empty())
        return -1;
    const int fd = open((folder + "/" + channelName(owner)).c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st{};
    bool sent = false;
    if (fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode)) {
        unsigned char record[requestBytes];
        const uint32_t flags = request.ownedPopup ? flagOwnedPopup : 0;
        std::memcpy(record, &requestMagic, 4);
        std::memcpy(record + 4, &flags, 4);
        std::memcpy(record + 8, &request.handle, 8);
        sent = writeQuietly(fd, record, sizeof record);
    }
    close(fd);
    return sent ? 0 : -1;
}

std::vector<RaiseRequest> takeRaiseRequests()
{
    std::vector<RaiseRequest> requests;
    Publisher& p = current();
    if (p.channel < 0)
        return requests;
    // A whole number of records, so that a read never splits one.
    unsigned char buffer[requestBytes * 32];
    for (int round = 0; round < readRounds; ++round) {
        const ssize_t n = read(p.channel, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (size_t at = 0; at + requestBytes <= static_cast<size_t>(n); at += requestBytes) {
            uint32_t magic = 0, flags = 0;
            RaiseRequest request;
            std::memcpy(&magic, buffer + at, 4);
            std::memcpy(&flags, buffer + at + 4, 4);
            std::memcpy(&request.handle, buffer + at + 8, 8);
            // Somebody wrote something else: the rest of what came with it is dropped too.
            if (magic != requestMagic)
                break;
            request.ownedPopup = (flags & flagOwnedPopup) != 0;
            requests.push_back(request);
        }
    }
    return requests;
}

} // namespace ui
