#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/ydb/commands.h"
#include "tools/ydb/import/duplicates.h"
#include "tools/ydb/import/extract_reader.h"
#include "tools/ydb/import/source_writer.h"
#include "tools/ydb/source/cp1251.h"
#include "tools/ydb/source/source_edition.h"

namespace {

namespace fs = std::filesystem;

struct ImportOptions {
    std::string extract;
    std::string folder;
    std::string rubrics;   // the tag table's file; empty: the one built in
    ImportedEdition edition;
    bool quiet = false;
};

int failure(int code, const std::string& what) {
    std::fprintf(stderr, "ydb import: %s\n", what.c_str());
    return code;
}

// Why the title or the letter cannot go into an edition; empty when they can.
std::string editionFault(const ImportedEdition& e) {
    size_t length = 0;
    for (const std::string& line : e.titleLines) {
        std::string text;
        if (!utf8ToCp1251(line, text) || text.find_first_of("\r\n") != std::string::npos)
            return "--title: a line that code page 1251 cannot hold, or with a line break";
        length += text.size() + (length ? 2 : 0);
    }
    if (e.titleLines.empty() || e.titleLines.back().empty()) return "--title: the last line is empty";
    if (length > limits::title) return "--title: longer than 80 characters with the line breaks";
    std::string letter;
    const unsigned char c = utf8ToCp1251(e.cityLetter, letter) && letter.size() == 1 ? letter[0] : 0;
    const bool isLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0 || c == 0xA8 || c == 0xB8;
    if (!isLetter) return "--city-letter takes one letter";
    return {};
}

bool parseOptions(int argc, char** argv, ImportOptions& o, std::string& why) {
    for (int i = 0; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        const char* a = argv[i];
        if (std::strcmp(a, "-o") == 0 && hasValue) o.folder = argv[++i];
        else if (std::strcmp(a, "--rubrics") == 0 && hasValue) o.rubrics = argv[++i];
        else if (std::strcmp(a, "--title") == 0 && hasValue) o.edition.titleLines.push_back(argv[++i]);
        else if (std::strcmp(a, "--city-letter") == 0 && hasValue) o.edition.cityLetter = argv[++i];
        else if (std::strcmp(a, "--quiet") == 0) o.quiet = true;
        else if (a[0] != '-' && o.extract.empty()) o.extract = a;
        else {
            why = std::string("unexpected argument '") + a + "'";
            return false;
        }
    }
    if (o.extract.empty()) why = "EXTRACT is needed";
    else if (o.folder.empty()) why = "-o DIR is needed";
    if (o.edition.titleLines.empty()) o.edition.titleLines = {"Справочник организаций"};
    if (o.edition.cityLetter.empty()) o.edition.cityLetter = "С";
    if (why.empty()) why = editionFault(o.edition);
    return why.empty();
}

bool loadTable(const std::string& file, TagTable& table, std::string& error) {
    if (file.empty()) return parseTagTable(defaultTagTableText(), "tag_rubrics.txt", table, error);
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        error = file + ": cannot be read";
        return false;
    }
    return parseTagTable(text.str(), file, table, error);
}

} // namespace

int runImport(int argc, char** argv) {
    ImportOptions o;
    std::string why;
    if (!parseOptions(argc, argv, o, why)) return usageError("import", why);
    if (std::string refusal = folderRefusal(o.folder, "", false); !refusal.empty()) return failure(exitUsage, refusal);
    TagTable table;
    if (!loadTable(o.rubrics, table, why)) return failure(exitUsage, why);
    std::error_code ec;
    if (!fs::is_regular_file(o.extract, ec)) return failure(exitUsage, o.extract + ": no such file");
    if (!isExtractName(o.extract))
        return failure(exitUsage, o.extract + ": not an extract's name (.osm.pbf, .pbf, .osm, .osm.gz, .osm.bz2)");

    const bool showProgress = !o.quiet && isatty(2) != 0;
    ReadProgress progress;
    if (showProgress)
        progress = [](const char* what, uint64_t count) {
            std::fprintf(stderr, "\rydb import: reading %s: %llu   ", what, static_cast<unsigned long long>(count));
            std::fflush(stderr);
        };
    ImportReport report;
    FirmList firms;
    const bool read = readExtract(o.extract, table, firms, report, why, progress);
    if (showProgress) std::fputc('\n', stderr);
    if (!read) return failure(exitFailed, o.extract + ": cannot be read: " + why + "; nothing written");
    report.duplicatesMerged = mergeDuplicates(firms);
    if (!writeImportedEdition(o.folder, o.edition, table, firms, report, why)) return failure(exitUsage, why);
    if (!o.quiet) printImportReport(report, stdout);
    return exitOk;
}
