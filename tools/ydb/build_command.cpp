#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "tools/writer/edition_writer.h"
#include "tools/ydb/build/edition_from_source.h"
#include "tools/ydb/commands.h"
#include "tools/ydb/source/source_reader.h"

namespace fs = std::filesystem;

namespace {

// The build's steps on one terminal line; silent when quiet or when standard error is no terminal.
struct Progress {
    bool shown;
    int steps;
    void step(int n, const char* what) const {
        if (!shown) return;
        int filled = 24 * n / steps;
        std::fprintf(stderr, "\r[%.*s%*s] %d/%d %-28s", filled, "########################", 24 - filled, "", n, steps, what);
        std::fflush(stderr);
    }
    void done() const {
        if (shown) std::fprintf(stderr, "\n");
    }
};

// The information pages go beside the database, in HTML\, where the handheld looks for them.
bool installPages(const SourceEdition& edition, const fs::path& output, std::string& error) {
    if (edition.pages.empty()) return true;
    fs::path folder = output.parent_path() / "HTML";
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (const SourcePage& page : edition.pages) {
        std::ofstream out(folder / page.name, std::ios::binary);
        out << page.bytes;
        if (!out) {
            error = (folder / page.name).string() + ": cannot be written";
            return false;
        }
    }
    return true;
}

} // namespace

int runBuild(int argc, char** argv) {
    std::string source, output;
    bool quiet = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) output = argv[++i];
        else if (std::strcmp(argv[i], "--quiet") == 0) quiet = true;
        else if (source.empty() && argv[i][0] != '-') source = argv[i];
        else source = output = "";
    }
    if (source.empty() || output.empty()) {
        std::fprintf(stderr, "usage: ydb build SOURCE_DIR -o FILE.ydb [--quiet]\n");
        return exitUsage;
    }
    if (!fs::is_directory(source)) {
        std::fprintf(stderr, "ydb build: %s: not a folder\n", source.c_str());
        return exitUsage;
    }
    Progress progress{!quiet && isatty(2) != 0, 4};
    progress.step(0, "reading the source");
    SourceEdition edition;
    IssueList issues;
    bool sound = readSourceEdition(source, edition, issues);
    if (!sound) {
        progress.done();
        for (const SourceIssue& issue : issues.items) std::fprintf(stderr, "%s\n", formatIssue(issue).c_str());
        if (issues.total > issues.items.size())
            std::fprintf(stderr, "... and %zu more\n", issues.total - issues.items.size());
        std::fprintf(stderr, "ydb build: %zu error(s); nothing written\n", issues.total);
        return exitFailed;
    }
    progress.step(1, "ordering the firms");
    Edition built = editionFromSource(edition);
    progress.step(2, "laying out the file");
    DatabaseImage image;
    std::string error;
    if (writeEdition(built, image, error) != writeOk) {
        progress.done();
        std::fprintf(stderr, "ydb build: %s; nothing written\n", error.c_str());
        return exitFailed;
    }
    progress.step(3, "writing");
    // Written under another name first, so that a failed build never leaves half a database.
    std::string temporary = output + ".part";
    std::error_code ec;
    if (saveImage(image, temporary, error) != writeOk || (fs::rename(temporary, output, ec), ec)) {
        progress.done();
        fs::remove(temporary, ec);
        std::fprintf(stderr, "ydb build: %s\n", error.empty() ? (output + ": cannot be written").c_str() : error.c_str());
        return exitUsage;
    }
    if (!installPages(edition, fs::path(output), error)) {
        progress.done();
        std::fprintf(stderr, "ydb build: %s\n", error.c_str());
        return exitUsage;
    }
    progress.step(4, "done");
    progress.done();
    if (!quiet)
        std::printf("%s: %zu rubrics, %zu streets, %zu firms, %zu telephone entries, %zu bytes\n", output.c_str(),
                    built.rubrics.size(), built.streets.size(), built.firms.size(), built.phones.size(), image.bytes.size());
    return exitOk;
}
