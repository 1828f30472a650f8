#include <gtest/gtest.h>

#include <algorithm>

#include "db/details_scan.h"
#include "db/firm_scan.h"
#include "tests/search/search_fixture.h"
#include "tools/writer/image_patch.h"

namespace {

struct Step {
    int32_t result;
    uint32_t ref;
    std::string name;
    uint32_t streetRef, house, detailsRef;
    bool operator==(const Step&) const = default;
};

[[maybe_unused]] void PrintTo(const Step& s, std::ostream* out) {
    *out << "{" << s.result << " @" << s.ref << " " << s.name << " " << s.streetRef << "/" << s.house << "/"
         << s.detailsRef << "}";
}

// Every NEXT read of a full scan of table 3 with `detail`: what the name passes look at.
std::vector<Step> scan(DirectoryDatabase& db, uint16_t detail) {
    std::vector<Step> steps;
    seekTable(db, tableFirms, 0, false, noCap);
    for (;;) {
        const uint32_t ref = tableOffset(db, tableFirms);
        const int32_t r = readRecord(db, tableFirms, readNext, detail, noCap);
        steps.push_back({r, ref, r == 0 ? std::string(db.firm.name) : "", db.firm.streetRef, db.firm.house,
                         db.firm.detailsRef});
        if (r != 0) return steps;
    }
}

// The same walk through scanFirmTexts, stopping on every `stopEvery`-th firm as a search stops on
// a match and reading that firm by its reference as the search then does.
// Every field of a walk, as text.
std::string fieldsText(const FirmFields& f) {
    auto text = [](const char* t, uint32_t n) { return t ? std::string(t, n) : std::string("-"); };
    return text(f.houseSuffix, f.houseSuffixLength) + "|" + text(f.web, f.webLength) + "|" +
           text(f.email, f.emailLength) + "|" + text(f.phone, f.phoneLength) + "|" + std::to_string(f.streetRef) +
           "/" + std::to_string(f.house) + "/" + std::to_string(f.detailsRef);
}

std::vector<Step> scanInWindow(DirectoryDatabase& db, FirmTexts wanted, uint32_t endRef, uint32_t stopEvery) {
    struct Visits {
        std::vector<std::string> names;
        std::string fields;  // of the firm visited last
        uint32_t stopEvery;
    } visits{{}, {}, stopEvery};
    auto test = [](const FirmFields& firm, void* data) {
        auto& v = *static_cast<Visits*>(data);
        v.names.emplace_back(firm.name, firm.nameLength);
        v.fields = fieldsText(firm);
        return v.names.size() % v.stopEvery == 0;
    };
    std::vector<Step> steps;
    seekTable(db, tableFirms, 0, false, noCap);
    for (;;) {
        uint32_t ref = 0;
        const int32_t r = scanFirmTexts(db, endRef, wanted, FirmFilter{}, test, &visits, &ref);
        if (r != 0) {
            // How far it got: the firms it walked.
            steps.push_back({r, static_cast<uint32_t>(visits.names.size()), "", 0, 0, 0});
            return steps;
        }
        const std::string name = visits.names.back();
        EXPECT_EQ(readRecord(db, tableFirms, ref, detailBody, noCap), 0);
        steps.push_back({r, ref, name, db.firm.streetRef, db.firm.house, db.firm.detailsRef});
        EXPECT_EQ(std::string(db.firm.name), name);
        if (wanted == firmAllFields) {
            // The decoder's own walk of the record, now in the window, gives the same fields.
            RecordCursor in{db.window, db.windowLength, ref + tableStart(db, tableFirms) - db.windowStart};
            FirmFields expected;
            expected.bodyLength = walkBodyLength(in);
            walkFirmBody(in, expected);
            EXPECT_EQ(visits.fields, fieldsText(expected)) << ref;
        }
    }
}

// What the plain loop gives for the firms scanInWindow stops on.
std::vector<Step> stopsOf(std::vector<Step> steps, uint32_t endRef, uint32_t stopEvery) {
    std::vector<Step> stops;
    for (size_t k = 0; k < steps.size(); ++k) {
        const Step& s = steps[k];
        if (s.result != 0 || s.ref >= endRef) {
            stops.push_back({s.result != 0 ? s.result : readEndOfTable, static_cast<uint32_t>(k), "", 0, 0, 0});
            break;
        }
        if ((k + 1) % stopEvery == 0) stops.push_back(s);
    }
    return stops;
}

class InPlaceScanTest : public SearchTest {
protected:
    // A sound edition and the same with damaged firm records: a 0 byte inside a short and a long
    // text (one text more, so the walk ends inside the body), lengths one more, one less and far
    // less than the fields take, and a name that runs on to the table's end. Long texts too.
    std::pair<std::u16string, std::u16string> damagedFirms() {
        Edition e = generatedEdition(300, 7);
        e.firms[70].web = "ab";
        // Texts longer than the scan takes in one look.
        for (const size_t k : {20u, 21u, 140u, 141u, 142u}) {
            e.firms[k].web = "www." + std::string(55, 'w') + ".ru";
            e.firms[k].email = std::string(50, 'm') + "@mail.ru";
        }
        std::string error;
        EXPECT_EQ(writeEdition(e, image, error), writeOk);
        const std::u16string good = install(image, "good.ydb");
        for (const uint32_t k : {70u, 140u}) {
            const EditionFirm& split = e.firms[k];
            const uint32_t web = absoluteOffset(image, tableFirms, image.firmRefs[k]) + 2 +
                                 static_cast<uint32_t>(split.name.size() + 1 + 8 + split.houseSuffix.size() + 1);
            EXPECT_TRUE(patchU8(image, web + (k == 70 ? 0 : 5), 0));
        }
        for (const auto& [k, change] : {std::pair{50, 1}, std::pair{60, -1}}) {
            const uint32_t at = absoluteOffset(image, tableFirms, image.firmRefs[image.firmOrder[k]]);
            EXPECT_TRUE(patchU16(image, at, static_cast<uint16_t>(ydb::loadU16(&image.bytes[at]) + change)));
        }
        EXPECT_TRUE(patchU16(image, absoluteOffset(image, tableFirms, image.firmRefs[image.firmOrder[100]]), 9));
        const uint32_t late = absoluteOffset(image, tableFirms, image.firmRefs[image.firmOrder[250]]);
        for (uint32_t at = late + 2; at < image.tableStart[tableFirms + 1]; ++at) EXPECT_TRUE(patchU8(image, at, 'x'));
        return {good, install(image, "bad.ydb")};
    }

    // A sound details table with texts over their limits and one longer than a small window, and
    // the same with a 0 byte splitting a text and a record cut by a wrong length.
    std::pair<std::u16string, std::u16string> damagedDetails() {
        Edition e = generatedEdition(200, 9);
        e.firms[30].hours = std::string(600, 'h');                      // over its 511
        e.firms[31].comment = std::string(2000, 'c');                   // longer than a small window
        e.firms[32].rubricCodes = "|" + std::string(5000, '1') + "|";  // over its 4095
        e.firms[33].comment = "ab";
        e.firms[34].comment = "7";
        std::string error;
        EXPECT_EQ(writeEdition(e, image, error), writeOk);
        const std::u16string good = install(image, "good.ydb");
        EXPECT_TRUE(patchU8(image, absoluteOffset(image, tableDetails, image.detailsRefs[33]) + 2 + 4 + 1, 0));
        EXPECT_TRUE(patchU16(image, absoluteOffset(image, tableDetails, image.detailsRefs[150]), 3));
        return {good, install(image, "bad.ydb")};
    }
};

// The name passes read with the texts left in place; they must walk the table exactly as the
// full decode does, damaged records included, or a search would answer differently.
TEST_F(InPlaceScanTest, WalksTheFirmTableExactlyAsTheFullDecode) {
    Edition e = generatedEdition(300, 7);
    std::string error;
    ASSERT_EQ(writeEdition(e, image, error), writeOk);
    const std::u16string good = install(image, "good.ydb");
    // A firm whose length claims less than its fields: the full decode walks by its fields.
    ASSERT_TRUE(patchU16(image, absoluteOffset(image, tableFirms, image.firmRefs[image.firmOrder[100]]), 9));
    // A firm whose name runs on to the end of the table.
    const uint32_t late = absoluteOffset(image, tableFirms, image.firmRefs[image.firmOrder[250]]);
    for (uint32_t at = late + 2; at < image.tableStart[tableFirms + 1]; ++at) ASSERT_TRUE(patchU8(image, at, 'x'));
    const std::u16string bad = install(image, "bad.ydb");
    for (const std::u16string& path : {good, bad}) {
        std::vector<Step> expected;
        {
            OpenedDatabase full(path);
            expected = scan(*full, detailBody);
        }
        OpenedDatabase inPlace(path);
        EXPECT_EQ(scan(*inPlace, detailBody | detailTextsInPlace), expected);
        EXPECT_GT(expected.size(), 250u);
        EXPECT_NE(expected.back().result, 0);
        EXPECT_EQ(inPlace->firm.web[0], 0);
    }
}

// The in-window scan stands in for the NEXT loop of the name passes: the same firms, references
// and failures, with a window holding all of the table and with one of 1024 bytes that refills
// and re-reads records straddling its end, on a sound and on a damaged table, to its end and to
// a range end inside it.
TEST_F(InPlaceScanTest, TheInWindowScanVisitsWhatTheNextLoopReads) {
    const auto [good, bad] = damagedFirms();
    const uint32_t middle = image.firmRefs[image.firmOrder[150]];
    for (const bool smallWindow : {false, true}) {
        if (smallWindow) setFreeMemory(4096);
        for (const std::u16string& path : {good, bad}) {
            std::vector<Step> loop;
            {
                OpenedDatabase plain(path);
                loop = scan(*plain, detailBody);
            }
            for (const uint32_t endRef : {noCap, middle}) {
                for (const uint32_t stopEvery : {1u, 5u, 100000u}) {
                    for (const FirmTexts wanted : {firmNameOnly, firmAllFields}) {
                        OpenedDatabase opened(path);
                        EXPECT_EQ(scanInWindow(*opened, wanted, endRef, stopEvery), stopsOf(loop, endRef, stopEvery))
                            << "small window " << smallWindow << ", end " << endRef << ", every " << stopEvery
                            << ", name only " << (wanted == firmNameOnly);
                    }
                }
            }
        }
    }
}

}  // namespace

namespace {

struct DetailsStep {
    int32_t result;
    uint32_t ref;
    uint32_t firmRef;
    std::string rubricCodes, hours, comment;
    bool operator==(const DetailsStep&) const = default;
};

[[maybe_unused]] void PrintTo(const DetailsStep& s, std::ostream* out) {
    *out << "{" << s.result << " @" << s.ref << " firm " << s.firmRef << " " << s.rubricCodes.size() << "/"
         << s.hours.size() << "/" << s.comment.size() << "}";
}

std::string textOf(const char* text) { return text ? text : "(none)"; }

// Every NEXT read of the details table, as the note search read it before.
std::vector<DetailsStep> readDetails(DirectoryDatabase& db) {
    std::vector<DetailsStep> steps;
    seekTable(db, tableDetails, 0, false, noCap);
    for (;;) {
        const uint32_t ref = tableOffset(db, tableDetails);
        const int32_t r = readRecord(db, tableDetails, readNext, 0, noCap);
        if (r != 0) {
            steps.push_back({r, static_cast<uint32_t>(steps.size()), 0, "", "", ""});
            return steps;
        }
        const FirmDetails& d = db.details;
        steps.push_back({r, ref, d.firmRef, textOf(d.rubricCodes), textOf(d.hours), textOf(d.comment)});
    }
}

std::vector<DetailsStep> scanDetails(DirectoryDatabase& db) {
    std::vector<DetailsStep> steps;
    auto test = [](const DetailsFields& d, void* data) {
        auto& out = *static_cast<std::vector<DetailsStep>*>(data);
        out.push_back({0, 0, d.firmRef, textOf(d.rubricCodes), textOf(d.hours), textOf(d.comment)});
        return true;
    };
    seekTable(db, tableDetails, 0, false, noCap);
    for (;;) {
        uint32_t ref = 0;
        const int32_t r = scanDetailTexts(db, ByteSet{}, test, &steps, &ref);
        if (r != 0) {
            steps.push_back({r, static_cast<uint32_t>(steps.size()), 0, "", "", ""});
            return steps;
        }
        steps.back().ref = ref;
    }
}

// The note search's in-window details scan against the NEXT loop: the same records and texts,
// the same "field too long" messages (a text over its limit is none in both), the same failure,
// with a full and with a 1024-byte window.
TEST_F(InPlaceScanTest, TheDetailsScanReadsWhatTheNextLoopReads) {
    const auto [good, bad] = damagedDetails();
    for (const bool smallWindow : {false, true}) {
        if (smallWindow) setFreeMemory(4096);
        for (const std::u16string& path : {good, bad}) {
            boxes.clear();
            std::vector<DetailsStep> loop;
            {
                OpenedDatabase plain(path);
                loop = readDetails(*plain);
            }
            const std::vector<ShownBox> loopBoxes = boxes;
            boxes.clear();
            OpenedDatabase opened(path);
            EXPECT_EQ(scanDetails(*opened), loop) << "small window " << smallWindow;
            ASSERT_EQ(boxes.size(), loopBoxes.size());
            for (size_t k = 0; k < boxes.size(); ++k) EXPECT_EQ(boxes[k].text, loopBoxes[k].text);
            if (!smallWindow) {
                EXPECT_GT(loop.size(), 100u);
                EXPECT_GE(loopBoxes.size(), 2u);  // hours and rubric codes too long
            }
        }
    }
}

}  // namespace

namespace {

bool inSet(char c, const uint8_t* bytes, int count) {
    return std::find(bytes, bytes + count, static_cast<uint8_t>(c)) != bytes + count;
}

// One of the set's bytes, followed by one of its followers where it has any.
bool holdsByte(const char* text, uint32_t length, const ByteSet& set) {
    if (!text) return false;
    for (uint32_t i = 0; i < length; ++i) {
        if (!inSet(text[i], set.bytes, set.count)) continue;
        if (set.followerCount == 0 || (i + 1 < length && inSet(text[i + 1], set.followers, set.followerCount)))
            return true;
    }
    return false;
}

// The firms a scan stops on when its test asks for one of the filter's bytes where the filter
// looks, with the filter before the test or without it; the last entry is the failure it ends on.
std::vector<uint32_t> firmStops(DirectoryDatabase& db, const FirmFilter& probe, bool filtered) {
    auto test = [](const FirmFields& f, void* data) {
        const FirmFilter& p = *static_cast<const FirmFilter*>(data);
        if (p.where == filterName) return holdsByte(f.name, std::min<uint32_t>(f.nameLength, f.bodyLength), p.bytes);
        return holdsByte(f.web, f.webLength, p.bytes) || holdsByte(f.email, f.emailLength, p.bytes);
    };
    FirmFilter data = probe;
    const FirmTexts wanted = probe.where == filterName ? firmNameOnly : firmAllFields;
    std::vector<uint32_t> stops;
    seekTable(db, tableFirms, 0, false, noCap);
    for (;;) {
        uint32_t ref = 0;
        const int32_t r = scanFirmTexts(db, noCap, wanted, filtered ? probe : FirmFilter{}, test, &data, &ref);
        stops.push_back(r == 0 ? ref : static_cast<uint32_t>(r));
        if (r != 0) return stops;
    }
}

std::vector<uint32_t> detailsStops(DirectoryDatabase& db, const ByteSet& bytes, bool filtered) {
    auto test = [](const DetailsFields& d, void* data) {
        return holdsByte(d.comment, d.commentLength, *static_cast<const ByteSet*>(data));
    };
    ByteSet data = bytes;
    std::vector<uint32_t> stops;
    seekTable(db, tableDetails, 0, false, noCap);
    for (;;) {
        uint32_t ref = 0;
        const int32_t r = scanDetailTexts(db, filtered ? bytes : ByteSet{}, test, &data, &ref);
        stops.push_back(r == 0 ? ref : static_cast<uint32_t>(r));
        if (r != 0) return stops;
    }
}

// A byte filter before the test passes over firms without testing them; the scan must still stop
// on exactly the firms the test alone stops on, damaged records and window refills included.
TEST_F(InPlaceScanTest, AByteFilterPassesOverOnlyFirmsTheTestWouldTurnDown) {
    const auto [good, bad] = damagedFirms();
    const ByteSet digits{{'7', '9', '3', '0'}, 2};  // '7' and '9' only
    const ByteSet many{{'7', '9', '3', 'x'}, 4};
    const ByteSet pairs{{'1', '2'}, 2, {'0', '1', '2'}, 3};
    for (const bool smallWindow : {false, true}) {
        if (smallWindow) setFreeMemory(4096);
        for (const std::u16string& path : {good, bad}) {
            for (const FirmFilter& probe : {FirmFilter{digits, filterName}, FirmFilter{many, filterWebAndEmail},
                                            FirmFilter{digits, filterWebAndEmail}, FirmFilter{pairs, filterName},
                                            FirmFilter{pairs, filterWebAndEmail}}) {
                std::vector<uint32_t> expected;
                {
                    OpenedDatabase plain(path);
                    expected = firmStops(*plain, probe, false);
                }
                OpenedDatabase opened(path);
                EXPECT_EQ(firmStops(*opened, probe, true), expected)
                    << "small window " << smallWindow << ", in name " << (probe.where == filterName);
                // Some firms hold the bytes and some do not.
                EXPECT_GT(expected.size(), 20u);
                EXPECT_LT(expected.size(), 250u);
            }
        }
    }
}

TEST_F(InPlaceScanTest, AByteFilterOnTheCommentPassesOverOnlyWhatTheTestWouldTurnDown) {
    const auto [good, bad] = damagedDetails();
    const ByteSet sevens{{'7'}, 1};
    const ByteSet pairs{{'1', '7'}, 2, {'0', '1', '7'}, 3};  // "10", "17", "71" and the like
    for (const bool smallWindow : {false, true}) {
        if (smallWindow) setFreeMemory(4096);
        for (const std::u16string& path : {good, bad}) {
            for (const ByteSet& probe : {sevens, pairs}) {
                std::vector<uint32_t> expected;
                boxes.clear();
                {
                    OpenedDatabase plain(path);
                    expected = detailsStops(*plain, probe, false);
                }
                const size_t expectedBoxes = boxes.size();
                boxes.clear();
                OpenedDatabase opened(path);
                EXPECT_EQ(detailsStops(*opened, probe, true), expected) << "small window " << smallWindow;
                // Texts over their limits show their messages even where the note is passed over.
                EXPECT_EQ(boxes.size(), expectedBoxes);
                // Some stops besides the end (the damaged table ends early).
                EXPECT_GE(expected.size(), 2u);
            }
        }
    }
}

}  // namespace

namespace {

// Texts over their limits at every distance from the window's and the masks' ends (hours of many
// lengths, rubric lists, notes longer than the masks' span), with windows from 1 KB up: the scan
// shows the same messages and goes on, or fails, exactly where the loop does.
TEST_F(InPlaceScanTest, TextsOverTheirLimitsAnywhereLeaveTheScanWhereTheLoopIs) {
    Edition e = generatedEdition(3000, 9);
    for (size_t k = 3; k < e.firms.size(); k += 37) e.firms[k].hours = std::string(512 + k % 300, 'h');
    for (size_t k = 5; k < e.firms.size(); k += 53) e.firms[k].rubricCodes = "|" + std::string(4200, '1') + "|";
    for (size_t k = 0; k < e.firms.size(); k += 3) e.firms[k].comment = "ab7" + std::string(k % 40, 'x');
    for (size_t k = 7; k < e.firms.size(); k += 301) e.firms[k].comment = "ab7" + std::string(33000 + k, 'x');
    std::string error;
    ASSERT_EQ(writeEdition(e, image, error), writeOk);
    const std::u16string path = install(image, "long.ydb");
    const ByteSet sevens{{'7'}, 1};
    for (const uint64_t memory : {64u << 20, 4096u, 3 * 4096u, 5 * 4096u, 40000u}) {
        setFreeMemory(memory);
        boxes.clear();
        std::vector<DetailsStep> loop;
        std::vector<uint32_t> loopStops;
        {
            OpenedDatabase plain(path);
            loop = readDetails(*plain);
            loopStops = detailsStops(*plain, sevens, false);
        }
        const size_t loopBoxes = boxes.size();
        boxes.clear();
        OpenedDatabase opened(path);
        EXPECT_EQ(scanDetails(*opened), loop) << memory;
        EXPECT_EQ(detailsStops(*opened, sevens, true), loopStops) << memory;
        EXPECT_EQ(boxes.size(), loopBoxes) << memory;
        if (memory > 40000u) {
            // The whole table, with a message for every text over its limit, twice.
            EXPECT_EQ(loop.back().result, readEndOfTable);
            EXPECT_EQ(loopBoxes, 2u * (81 + 57 + 10));
        }
    }
}

}  // namespace
