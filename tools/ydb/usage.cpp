// What each command takes, written once: printed on request (standard output, exit 0) and after a
// usage error (standard error, exit 2).
#include <cstdio>

#include "tools/ydb/commands.h"

namespace {

struct Usage {
    const char* command;
    const char* text;
};

const Usage usages[] = {
    {"ydb",
     "usage: ydb COMMAND [ARGUMENTS]\n"
     "  ydb new DIR                                  write a starter source edition to rewrite\n"
     "  ydb build SOURCE_DIR -o FILE.ydb [--quiet]   compile a source edition\n"
     "  ydb info FILE                                title, city letter, counts, tables, resources\n"
     "  ydb check FILE                               validate every table, record and cross reference\n"
     "  ydb dump FILE TABLE                          one JSON object per record\n"
     "  ydb synth [--firms N] -o DIR [--seed S] [--force]   write a generated source edition\n"
     "  ydb query FILE WHAT [ARGUMENTS] [--json]     the lines the handheld's lists and searches show\n"
     "  ydb import EXTRACT -o DIR [OPTIONS]          write a source edition from a map extract\n"
     "  ydb help [COMMAND]                           this text, or one command's (also COMMAND --help)\n"
     "exit codes: 0 done (check: nothing found); 1 the source or the file is damaged or has findings;\n"
     "            2 usage, or a file that cannot be read or written\n"},
    {"new",
     "usage: ydb new DIR\n"
     "Writes into DIR (a new or empty folder) a small source edition of an invented town that builds\n"
     "into a complete edition: edition.json, rubrics.json, streets.jsonl, firms.jsonl, the help text\n"
     "with every anchor the screens jump to, the pages of both sets of home tiles in html/, and the\n"
     "five pictures in pictures/. Rewrite each of them for your city.\n"},
    {"build",
     "usage: ydb build SOURCE_DIR -o FILE.ydb [--quiet]\n"
     "Compiles the source edition in SOURCE_DIR into FILE.ydb, and its html/ pages into HTML beside it.\n"
     "  -o FILE.ydb   the database to write; written under a temporary name and renamed, so a failed\n"
     "                build leaves an existing file as it was\n"
     "  --quiet       no progress bar and no summary line (errors and warnings are still shown)\n"},
    {"info",
     "usage: ydb info FILE\n"
     "Prints the title lines, the city letter, the record counts, the tables and the resources.\n"},
    {"check",
     "usage: ydb check FILE\n"
     "Validates every table, record and cross reference and prints each fault with its table and\n"
     "offset; exit 0 when nothing is found, 1 with findings. Warnings (a missing help text, anchor or\n"
     "picture) are printed too and leave the exit code alone.\n"},
    {"dump",
     "usage: ydb dump FILE TABLE\n"
     "Prints one JSON object per record of TABLE: 0-7 or rubrics, prefixes, rubric-firms, firms,\n"
     "streets, street-firms, phones, details.\n"},
    {"synth",
     "usage: ydb synth [--firms N] -o DIR [--seed S] [--force]\n"
     "Writes a generated source edition (edition.json, rubrics.json, streets.jsonl, firms.jsonl) with\n"
     "the help text, pages and pictures that ydb new writes.\n"
     "  --firms N   number of firms, 0 to 5000000 (default 1000)\n"
     "  -o DIR      the folder to write: a new or empty one\n"
     "  --seed S    the generator's seed (default 1): one seed, one edition\n"
     "  --force     write into DIR even when it is not empty (files of the same names are replaced)\n"},
    {"query",
     "usage: ydb query FILE WHAT [ARGUMENTS] [--json]\n"
     "Prints the lines the handheld's lists show (UTF-8; --json: one JSON object a line); the\n"
     "handheld's message boxes go to standard error as \"CAPTION: text\".\n"
     "  rubrics [--flat] [--choice]   the rubric tree, indented (--flat: the flat list;\n"
     "                                --choice: the theme tree, each item with its theme code)\n"
     "  firms REF                     the firm list of a rubric by its firmListRef (ydb dump FILE rubrics)\n"
     "  letters                       the white pages' index\n"
     "  letter-firms N                the firms of line N (from 0) of that index\n"
     "  search CONDITION...           the search screen; at least one of --name, --street, --phone:\n"
     "      --mode prefix|contains|web|notes   how --name is looked for (default prefix)\n"
     "      --name TEXT        the name box      --street TEXT   the street box\n"
     "      --phone DIGITS     the telephone box (digits only, at most 9 used)\n"
     "      --theme CODE       only firms under this rubric code (as rubrics --choice shows it)\n"
     "      --fragment yes|no  the answer to \"search for a fragment of the name?\" (default no)\n"
     "      --notes yes|no     the answer to \"search in the notes?\" (default no)\n"
     "  complete-name TEXT...         the name box's completion list: one argument per edit of the\n"
     "                                box; the list comes when the text reaches its fifth compacted\n"
     "                                letter (spaces, dots, hyphens and quotes not counted)\n"
     "  complete-street TEXT          the street box's list: at exactly three compacted letters\n"},
    {"import",
     "usage: ydb import EXTRACT -o DIR [--rubrics FILE] [--title TEXT]... [--city-letter L] [--quiet]\n"
     "Writes a source edition from the firms of an OpenStreetMap extract (.osm.pbf, or .osm XML, also\n"
     "as .osm.gz or .osm.bz2), and prints what was read, written, left out and cut.\n"
     "  -o DIR            the folder to write: a new or empty one; nothing is written on a failure\n"
     "  --rubrics FILE    the table of tags to rubrics (default: the one built in, tag_rubrics.txt)\n"
     "  --title TEXT      a line of the edition's title (repeat for more; default \"Справочник организаций\")\n"
     "  --city-letter L   the city letter (default С; М selects the second set of information pages)\n"
     "  --quiet           no progress line and no report\n"},
};

} // namespace

const char* commandUsage(const std::string& command) {
    for (const Usage& u : usages)
        if (command == u.command) return u.text;
    return nullptr;
}

int usageError(const std::string& command, const std::string& reason) {
    if (!reason.empty()) {
        const std::string who = command == "ydb" ? "ydb" : "ydb " + command;
        std::fprintf(stderr, "%s: %s\n", who.c_str(), reason.c_str());
    }
    const char* text = commandUsage(command);
    std::fputs(text ? text : commandUsage("ydb"), stderr);
    return exitUsage;
}

int exitCodeOf(OpenFailure failure) {
    return failure == OpenFailure::damaged ? exitFailed : failure == OpenFailure::unreadable ? exitUsage : exitOk;
}
