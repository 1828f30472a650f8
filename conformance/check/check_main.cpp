// conformance_check REFERENCE OURS KNOWN: compares our run of the conformance program with the
// reference record. Fails on a difference that the list of known differences does not hold;
// a listed difference that no longer differs is only reported, so that it can be taken out.
#include "conformance/check/compare.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool readFile(const char* path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: conformance_check REFERENCE OURS KNOWN_DIFFERENCES\n");
        return 2;
    }
    std::string referenceText, ourText, knownText;
    for (int k = 1; k < 4; ++k) {
        if (!readFile(argv[k], k == 1 ? referenceText : k == 2 ? ourText : knownText)) {
            std::fprintf(stderr, "conformance: cannot read %s\n", argv[k]);
            return 2;
        }
    }
    std::vector<conformance::KnownDifference> known;
    std::string error;
    if (!conformance::parseKnownDifferences(knownText, known, error)) {
        std::fprintf(stderr, "conformance: %s: %s\n", argv[3], error.c_str());
        return 2;
    }
    conformance::Record reference = conformance::parseRecord(referenceText);
    conformance::Record ours = conformance::parseRecord(ourText);
    std::vector<conformance::Difference> differences = conformance::compareRecords(reference, ours);
    conformance::Verdict verdict = conformance::judge(differences, known);

    size_t lines = 0;
    for (const auto& caseLines : reference.caseLines)
        lines += caseLines.size();
    for (const conformance::KnownDifference* stale : verdict.stale)
        std::printf("notice: %s:%d (case %s) no longer differs; take it out of the list\n", argv[3], stale->line,
                    stale->caseName.c_str());
    for (const conformance::Difference& difference : verdict.unlisted)
        std::printf("unlisted %s", conformance::formatDifference(difference).c_str());
    std::printf("conformance: %zu cases, %zu reference lines; %zu differences, %zu listed, %zu unlisted, %zu listed "
                "ones no longer differ\n",
                reference.caseNames.size(), lines, differences.size(), verdict.listed, verdict.unlisted.size(),
                verdict.stale.size());
    return verdict.unlisted.empty() ? 0 : 1;
}
