#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "tools/writer/edition_writer.h"
#include "tools/ydb/build/edition_from_source.h"
#include "tools/ydb/commands.h"
#include "tools/ydb/source/resource_report.h"
#include "tools/ydb/source/source_reader.h"

namespace fs = std::filesystem;

namespace {

// The build on one terminal line: a bar, the share done and the step under way. Silent when quiet
// or when standard error is no terminal (a build run by the build system, output piped to a file).
struct ProgressBar {
    bool shown;
    int lastPercent = -1;
    const char* lastStep = nullptr;

    // Reading the firms is most of the time of a large build, so it gets most of the bar.
    static constexpr double readShare = 0.6;

    void show(double share, const char* step) {
        if (!shown) return;
        int percent = static_cast<int>(share * 100 + 0.5);
        if (percent == lastPercent && step == lastStep) return;
        lastPercent = percent;
        lastStep = step;
        constexpr int width = 30;
        int filled = width * percent / 100;
        std::fprintf(stderr, "\r[%.*s%*s] %3d%% %-24s", filled, "##############################", width - filled, "",
                     percent, step);
        std::fflush(stderr);
    }
    void finish() {
        if (shown && lastPercent >= 0) std::fprintf(stderr, "\n");
        shown = false;
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
        else return usageError("build", std::string("unexpected argument '") + argv[i] + "'");
    }
    if (source.empty()) return usageError("build", "no SOURCE_DIR given");
    if (output.empty()) return usageError("build", "-o FILE.ydb is needed");
    std::error_code ec;
    if (!fs::is_directory(source, ec)) {
        std::fprintf(stderr, "ydb build: %s: %s\n", source.c_str(),
                     fs::exists(source, ec) ? "not a folder" : "no such folder");
        return exitUsage;
    }
    if (fs::is_directory(output, ec)) {
        std::fprintf(stderr, "ydb build: %s: is a folder; -o names the database file to write\n", output.c_str());
        return exitUsage;
    }
    ProgressBar progress{!quiet && isatty(2) != 0};
    progress.show(0, "reading the source");
    SourceEdition edition;
    IssueList issues;
    bool sound = readSourceEdition(source, edition, issues, [&](uint64_t done, uint64_t total) {
        progress.show(total ? ProgressBar::readShare * static_cast<double>(done) / static_cast<double>(total) : 0,
                      "reading the firms");
    });
    if (sound) warnAboutResources(edition, issues);
    // Warnings first: with errors as well, the errors are what the publisher reads last.
    if (!issues.warnings.empty()) {
        progress.finish();
        for (const SourceIssue& warning : issues.warnings) std::fprintf(stderr, "%s\n", formatIssue(warning).c_str());
        progress.shown = !quiet && isatty(2) != 0;
    }
    if (!sound) {
        progress.finish();
        for (const SourceIssue& issue : issues.items) std::fprintf(stderr, "%s\n", formatIssue(issue).c_str());
        if (issues.total > issues.items.size())
            std::fprintf(stderr, "... and %zu more\n", issues.total - issues.items.size());
        std::fprintf(stderr, "ydb build: %zu error(s); nothing written\n", issues.total);
        // A file of the source that cannot be read is an input error, not a fault of its content.
        return issues.unreadable > 0 ? exitUsage : exitFailed;
    }
    progress.show(ProgressBar::readShare, "ordering the firms");
    Edition built = editionFromSource(edition);
    progress.show(0.75, "laying out the file");
    DatabaseImage image;
    std::string error;
    if (writeEdition(built, image, error) != writeOk) {
        progress.finish();
        std::fprintf(stderr, "ydb build: %s; nothing written\n", error.c_str());
        return exitFailed;
    }
    progress.show(0.9, "writing");
    // The edition's own folder (out/town.ydb, say) is made as it would be by installing it.
    if (const fs::path folder = fs::path(output).parent_path(); !folder.empty()) fs::create_directories(folder, ec);
    // Written under another name first, so that a failed build never leaves half a database.
    std::string temporary = output + ".part";
    if (saveImage(image, temporary, error) != writeOk || (fs::rename(temporary, output, ec), ec)) {
        progress.finish();
        fs::remove(temporary, ec);
        std::fprintf(stderr, "ydb build: %s\n", error.empty() ? (output + ": cannot be written").c_str() : error.c_str());
        return exitUsage;
    }
    if (!installPages(edition, fs::path(output), error)) {
        progress.finish();
        std::fprintf(stderr, "ydb build: %s\n", error.c_str());
        return exitUsage;
    }
    progress.show(1, "done");
    progress.finish();
    if (!quiet)
        std::printf("%s: %zu rubrics, %zu streets, %zu firms, %zu telephone entries, %zu bytes\n", output.c_str(),
                    built.rubrics.size(), built.streets.size(), built.firms.size(), built.phones.size(), image.bytes.size());
    return exitOk;
}
