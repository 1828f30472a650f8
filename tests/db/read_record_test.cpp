// Record decoding: every record kind written by the writer reads back; the read window moves over
// tables far larger than itself; NEXT, references and tableOffset agree; failures of the file and
// of memory give their codes.
#include <algorithm>
#include <random>

#include "tests/db/test_support.h"
#include "tools/writer/image_patch.h"

namespace {

class ReadRecordTest : public DeviceTest {
protected:
    // Writes and installs the edition; the image stays for the expectations.
    std::u16string use(const Edition& e, const std::string& name = "base.ydb") {
        edition = e;
        std::string error;
        EXPECT_EQ(writeEdition(edition, image, error), writeOk) << error;
        return install(image, name);
    }

    // The firms' references in table order and where each record ends.
    std::vector<uint32_t> refsInTableOrder() const {
        std::vector<uint32_t> refs;
        for (uint32_t index : image.firmOrder) refs.push_back(image.firmRefs[index]);
        return refs;
    }
    uint32_t firmTableLength() const { return image.tableStart[4] - image.tableStart[3]; }

    Edition edition;
    DatabaseImage image;
};

// --- Every record kind ------------------------------------------------------------------------------

TEST_F(ReadRecordTest, RubricsReadBackInTablePreOrder) {
    OpenedDatabase db(use(sampleEdition()));
    ASSERT_EQ(seekTable(*db, tableRubrics, 0, false, noCap), 0);
    for (size_t i = 0; i < edition.rubrics.size(); ++i) {
        EXPECT_EQ(tableOffset(*db, tableRubrics), image.rubricRefs[i]);
        ASSERT_EQ(readRecord(*db, tableRubrics, readNext, 0, noCap), 0) << i;
        EXPECT_EQ(bytes(db->rubric.code), edition.rubrics[i].code);
        EXPECT_EQ(bytes(db->rubric.title), edition.rubrics[i].title);
        EXPECT_EQ(db->rubric.flags, edition.rubrics[i].flags);
        EXPECT_EQ(db->rubric.firmListRef, image.rubricListRefs[i]);
    }
    EXPECT_EQ(image.rubricListRefs[0], ydb::noFirmList);
    EXPECT_EQ(readRecord(*db, tableRubrics, readNext, 0, noCap), readEndOfTable);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReadRecordTest, PrefixEntriesAreEnteredAtTenTimesTheirIndex) {
    OpenedDatabase db(use(sampleEdition()));
    ASSERT_EQ(prefixCount(*db), image.prefixes.size());
    for (uint32_t k = 0; k < prefixCount(*db); ++k) {
        ASSERT_EQ(readRecord(*db, tablePrefixes, 10 * k, 0, noCap), 0);
        EXPECT_EQ(std::string(db->prefix.prefix), image.prefixes[k]);
        EXPECT_EQ(db->prefix.prefix[5], '\0');
        // One firm per prefix in the sample: entry k points at the k-th firm of the table.
        EXPECT_EQ(db->prefix.firmRef, image.firmRefs[image.firmOrder[k]]);
    }
    EXPECT_EQ(readRecord(*db, tablePrefixes, 10 * prefixCount(*db), 0, noCap), readEndOfTable);
}

TEST_F(ReadRecordTest, RubricFirmListsHoldTheirFirmsInListOrder) {
    OpenedDatabase db(use(sampleEdition()));
    for (size_t i = 0; i < edition.rubrics.size(); ++i) {
        if (!edition.rubrics[i].hasFirmList) continue;
        ASSERT_EQ(readRecord(*db, tableRubricFirms, image.rubricListRefs[i], 0, noCap), 0);
        const auto& firms = edition.rubrics[i].firms;
        EXPECT_EQ(db->rubricFirms.byteCount, 4 * firms.size());
        ASSERT_EQ(db->rubricFirms.count, firms.size());
        for (size_t k = 0; k < firms.size(); ++k) EXPECT_EQ(db->rubricFirms.firmRefs[k], image.firmRefs[firms[k]]);
    }
}

TEST_F(ReadRecordTest, FirmsWithStreetAndDetailsReadBackEveryField) {
    OpenedDatabase db(use(sampleEdition()));
    for (uint32_t i = 0; i < edition.firms.size(); ++i) {
        const EditionFirm& f = edition.firms[i];
        ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[i], detailBody | detailStreet | detailDetails, cardReadCap),
                  0)
            << i;
        const Firm& firm = db->firm;
        EXPECT_EQ(bytes(firm.name), f.name);
        EXPECT_EQ(firm.streetRef, f.street == noStreet ? noStreet : image.streetRefs[f.street]);
        EXPECT_EQ(firm.house, f.house);
        EXPECT_EQ(wide(firm.houseSuffix), fromCp1251(f.houseSuffix));
        EXPECT_EQ(bytes(firm.houseSuffixText), f.houseSuffix);
        EXPECT_EQ(wide(firm.web), fromCp1251(f.web));
        EXPECT_EQ(wide(firm.email), fromCp1251(f.email));
        EXPECT_EQ(wide(firm.phone), fromCp1251(f.phone));
        EXPECT_EQ(firm.detailsRef, image.detailsRefs[i]);
        EXPECT_EQ(wide(firm.streetName), f.street == noStreet ? u"" : fromCp1251(edition.streets[f.street].name));
        const FirmDetails& d = db->details;
        EXPECT_EQ(d.firmRef, image.firmRefs[i]);
        EXPECT_EQ(wide(d.phones), fromCp1251(f.phones));
        EXPECT_EQ(wide(d.namePrefix), fromCp1251(f.namePrefix));
        EXPECT_EQ(bytes(d.rubricCodes), f.rubricCodes);
        EXPECT_EQ(bytes(d.hours), f.hours);
        EXPECT_EQ(bytes(d.comment), f.comment);
        // Empty long texts are none, not empty copies.
        if (f.hours.empty()) {
            EXPECT_EQ(d.hours, nullptr);
        }
        if (f.comment.empty()) {
            EXPECT_EQ(d.comment, nullptr);
        }
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReadRecordTest, DetailFlagsDecideWhatIsDecodedAndFetched) {
    OpenedDatabase db(use(sampleEdition()));
    const uint32_t a = image.firmRefs[0];  // ООО «Ромашка», on Невский пр., with every detail
    ASSERT_EQ(readRecord(*db, tableFirms, a, 7, noCap), 0);
    ASSERT_NE(db->details.rubricCodes, nullptr);

    // Detail 1: the body, no street name, no details (and the earlier ones are gone).
    ASSERT_EQ(readRecord(*db, tableFirms, a, detailBody, noCap), 0);
    EXPECT_EQ(db->firm.house, 12u);
    EXPECT_EQ(wide(db->firm.streetName), u"");
    EXPECT_EQ(db->firm.streetNameText, nullptr);
    EXPECT_EQ(wide(db->details.phones), u"");
    EXPECT_EQ(wide(db->details.namePrefix), u"");
    EXPECT_EQ(db->details.rubricCodes, nullptr);
    EXPECT_EQ(db->details.hours, nullptr);
    EXPECT_EQ(db->details.comment, nullptr);

    // Detail 3: with the street's name only.
    ASSERT_EQ(readRecord(*db, tableFirms, a, detailBody | detailStreet, noCap), 0);
    EXPECT_EQ(wide(db->firm.streetName), u"Невский пр.");
    EXPECT_EQ(bytes(db->firm.streetNameText), cp1251(u"Невский пр."));
    EXPECT_EQ(db->details.rubricCodes, nullptr);

    // Detail 5: with the details only.
    ASSERT_EQ(readRecord(*db, tableFirms, a, detailBody | detailDetails, noCap), 0);
    EXPECT_EQ(wide(db->firm.streetName), u"");
    EXPECT_EQ(bytes(db->details.rubricCodes), "|0101|0102|");

    // Detail 0: only the length and the name; the body is skipped. Street and details flags
    // without detail 1 do nothing.
    ASSERT_EQ(readRecord(*db, tableFirms, a, detailStreet | detailDetails, noCap), 0);
    EXPECT_EQ(db->firm.length, ydb::loadU16(image.bytes.data() + image.tableStart[3] + a));
    EXPECT_EQ(std::string(db->firm.name, strnlen(db->firm.name, db->firm.length)), edition.firms[0].name);
    EXPECT_EQ(db->firm.house, 0u);
    EXPECT_EQ(db->firm.detailsRef, 0u);
    EXPECT_EQ(wide(db->firm.streetName), u"");
    EXPECT_EQ(db->details.rubricCodes, nullptr);
    // NEXT after a detail-0 read continues with the next record.
    const uint32_t next = tableOffset(*db, tableFirms);
    EXPECT_EQ(next, a + 2 + db->firm.length);
}

TEST_F(ReadRecordTest, StreetsAndTheirFirmListsReadBack) {
    OpenedDatabase db(use(sampleEdition()));
    ASSERT_EQ(seekTable(*db, tableStreets, 0, false, noCap), 0);
    for (size_t i = 0; i < edition.streets.size(); ++i) {
        EXPECT_EQ(tableOffset(*db, tableStreets), image.streetRefs[i]);
        ASSERT_EQ(readRecord(*db, tableStreets, readNext, 0, noCap), 0);
        EXPECT_EQ(bytes(db->street.key), edition.streets[i].key);
        EXPECT_EQ(bytes(db->street.name), edition.streets[i].name);
        EXPECT_EQ(db->street.firmListRef, image.streetListRefs[i]);
    }
    EXPECT_EQ(readRecord(*db, tableStreets, readNext, 0, noCap), readEndOfTable);

    for (size_t i = 0; i < edition.streets.size(); ++i) {
        const auto& firms = edition.streets[i].firms;
        ASSERT_EQ(readRecord(*db, tableStreetFirms, image.streetListRefs[i], detailList, noCap), 0);
        EXPECT_EQ(db->streetFirms.byteCount, 4 * firms.size());
        ASSERT_EQ(db->streetFirms.count, firms.size());
        for (size_t k = 0; k < firms.size(); ++k) EXPECT_EQ(db->streetFirms.firmRefs[k], image.firmRefs[firms[k]]);
        // Without the flag the list is skipped, and NEXT lands on the following list.
        ASSERT_EQ(readRecord(*db, tableStreetFirms, image.streetListRefs[i], 0, noCap), 0);
        EXPECT_EQ(db->streetFirms.firmRefs, nullptr);
        EXPECT_EQ(db->streetFirms.count, 0u);
        EXPECT_EQ(db->streetFirms.byteCount, 4 * firms.size());
        const uint32_t after = image.streetListRefs[i] + 2 + 4 * static_cast<uint32_t>(firms.size());
        EXPECT_EQ(tableOffset(*db, tableStreetFirms), after);
    }
}

TEST_F(ReadRecordTest, TelephoneEntriesAscendByNumber) {
    OpenedDatabase db(use(sampleEdition()));
    ASSERT_EQ(phoneCount(*db), 3u);
    const std::pair<uint32_t, uint32_t> expected[] = {
        {3100000, image.firmRefs[1]}, {3123456, image.firmRefs[0]}, {3123457, image.firmRefs[0]}};
    for (uint32_t k = 0; k < 3; ++k) {
        ASSERT_EQ(readRecord(*db, tablePhones, 8 * k, 0, noCap), 0);
        EXPECT_EQ(db->phoneEntry.number, expected[k].first);
        EXPECT_EQ(db->phoneEntry.firmRef, expected[k].second);
    }
    EXPECT_EQ(readRecord(*db, tablePhones, 24, 0, noCap), readEndOfTable);
}

TEST_F(ReadRecordTest, DetailsRecordsReadDirectlyFromTableSeven) {
    OpenedDatabase db(use(sampleEdition()));
    for (uint32_t i = 0; i < edition.firms.size(); ++i) {
        const EditionFirm& f = edition.firms[i];
        ASSERT_EQ(readRecord(*db, tableDetails, image.detailsRefs[i], 0, noCap), 0);
        EXPECT_EQ(db->details.firmRef, image.firmRefs[i]);
        EXPECT_EQ(wide(db->details.phones), fromCp1251(f.phones));
        EXPECT_EQ(wide(db->details.namePrefix), fromCp1251(f.namePrefix));
        EXPECT_EQ(bytes(db->details.rubricCodes), f.rubricCodes);
        EXPECT_EQ(bytes(db->details.hours), f.hours);
        EXPECT_EQ(bytes(db->details.comment), f.comment);
    }
    // A scan of the notes, as the search in comments does it.
    ASSERT_EQ(seekTable(*db, tableDetails, 0, false, noCap), 0);
    int found = 0;
    while (readRecord(*db, tableDetails, readNext, 0, noCap) == 0) ++found;
    EXPECT_EQ(found, 4);
}

TEST_F(ReadRecordTest, FixedArraysCutLongTextsAtTheirCapacity) {
    Edition e = sampleEdition();
    e.firms[0].houseSuffix = std::string(20, 'h');
    e.firms[0].web = std::string(100, 'w');
    e.firms[0].email = std::string(64, 'e');
    e.firms[0].phone = std::string(16, '1');
    e.firms[0].phones = std::string(1500, '2');
    e.firms[0].namePrefix = std::string(32, 'p');
    e.streets[0].name = std::string(60, 's');
    OpenedDatabase db(use(e));
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[0], 7, noCap), 0);
    EXPECT_EQ(wide(db->firm.houseSuffix), std::u16string(11, u'h'));
    EXPECT_EQ(bytes(db->firm.houseSuffixText), std::string(20, 'h'));  // as stored
    EXPECT_EQ(wide(db->firm.web), std::u16string(63, u'w'));
    EXPECT_EQ(wide(db->firm.email), std::u16string(63, u'e'));
    EXPECT_EQ(wide(db->firm.phone), std::u16string(15, u'1'));
    EXPECT_EQ(wide(db->firm.streetName), std::u16string(47, u's'));
    EXPECT_EQ(wide(db->details.phones), std::u16string(1023, u'2'));
    EXPECT_EQ(wide(db->details.namePrefix), std::u16string(31, u'p'));
}

// --- A read window far smaller than the tables --------------------------------------------------

class SmallWindowTest : public ReadRecordTest {
protected:
    void SetUp() override {
        ReadRecordTest::SetUp();
        // Below the floor: other applications are asked to close, nothing is freed, and the
        // window is a quarter of 4096 bytes.
        setFreeMemory(4096);
    }
};

TEST_F(SmallWindowTest, AFullScanRefillsAndItsReferencesReadBackTheSameFirms) {
    OpenedDatabase db(use(generatedEdition(400, 30)));
    ASSERT_GT(firmTableLength(), 10u * 1024);
    ASSERT_EQ(seekTable(*db, tableFirms, 0, false, noCap), 0);
    EXPECT_EQ(db->windowCapacity, 1024u);

    std::vector<uint32_t> refs;
    std::vector<std::string> names;
    std::vector<uint32_t> houses;
    uint32_t ref = tableOffset(*db, tableFirms);
    int32_t r = 0;
    std::vector<uint32_t> windowStarts;
    while ((r = readRecord(*db, tableFirms, readNext, detailBody, noCap)) == 0) {
        refs.push_back(ref);
        names.emplace_back(db->firm.name);
        houses.push_back(db->firm.house);
        if (windowStarts.empty() || windowStarts.back() != db->windowStart) windowStarts.push_back(db->windowStart);
        EXPECT_LE(db->windowLength, db->windowCapacity);
        ref = tableOffset(*db, tableFirms);
    }
    EXPECT_EQ(r, readEndOfTable);
    EXPECT_EQ(refs, refsInTableOrder());
    EXPECT_GT(windowStarts.size(), 20u);  // the window moved along the table
    EXPECT_TRUE(boxes.empty());

    // Back by reference, in a scrambled order: the same firms.
    std::vector<size_t> order(refs.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (size_t i : order) {
        ASSERT_EQ(readRecord(*db, tableFirms, refs[i], detailBody, noCap), 0) << refs[i];
        EXPECT_EQ(std::string(db->firm.name), names[i]);
        EXPECT_EQ(db->firm.house, houses[i]);
    }
    // And the names are those of the edition, in white-pages order.
    for (size_t k = 0; k < refs.size(); ++k) EXPECT_EQ(names[k], edition.firms[image.firmOrder[k]].name);
}

TEST_F(SmallWindowTest, ARecordStraddlingTheWindowEndIsReadAgainFromItsOwnFirstByte) {
    OpenedDatabase db(use(generatedEdition(100, 5)));
    const std::vector<uint32_t> refs = refsInTableOrder();
    ASSERT_EQ(seekTable(*db, tableFirms, 0, false, noCap), 0);
    const uint32_t capacity = db->windowCapacity;
    // The firm that begins inside the first window and ends beyond it.
    size_t straddler = 0;
    while (straddler + 1 < refs.size() && refs[straddler + 1] <= capacity) ++straddler;
    ASSERT_LT(refs[straddler], capacity);
    ASSERT_GT(refs[straddler + 1], capacity);
    ASSERT_NE(refs[straddler + 1], capacity);

    for (size_t k = 0; k < straddler; ++k) ASSERT_EQ(readRecord(*db, tableFirms, readNext, detailBody, noCap), 0);
    EXPECT_EQ(db->windowStart, image.tableStart[3]);
    ASSERT_EQ(readRecord(*db, tableFirms, readNext, detailBody, noCap), 0);
    EXPECT_EQ(db->windowStart, image.tableStart[3] + refs[straddler]);
    EXPECT_EQ(std::string(db->firm.name), edition.firms[image.firmOrder[straddler]].name);

    // Entered at its reference while the window still holds its first bytes: the same.
    ASSERT_EQ(seekTable(*db, tableFirms, 0, true, noCap), 0);
    ASSERT_EQ(readRecord(*db, tableFirms, refs[straddler], 7, noCap), 0);
    EXPECT_EQ(db->windowStart, image.tableStart[3] + refs[straddler]);
    EXPECT_EQ(std::string(db->firm.name), edition.firms[image.firmOrder[straddler]].name);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SmallWindowTest, ARecordLongerThanTheWholeWindowIsDamaged) {
    Edition e = generatedEdition(20, 2);
    e.firms[5].comment = std::string(3000, 'c');  // its details record: 3000 bytes and more
    e.firms[6].name = "Firm " + std::string(1500, 'n');
    OpenedDatabase db(use(e));
    EXPECT_EQ(readRecord(*db, tableFirms, image.firmRefs[6], detailBody, noCap), errorDamagedRecord);
    EXPECT_EQ(db->lastError, errorDamagedRecord);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, damagedText);
    EXPECT_EQ(boxes[0].caption, damagedCaption);
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_TOPMOST));

    // The next read clears the code and works.
    EXPECT_EQ(readRecord(*db, tableFirms, image.firmRefs[7], detailBody, noCap), 0);
    EXPECT_EQ(db->lastError, 0);

    // A scan stops at the long one with the same code and one more message.
    ASSERT_EQ(seekTable(*db, tableFirms, 0, false, noCap), 0);
    int32_t r = 0;
    int read = 0;
    while ((r = readRecord(*db, tableFirms, readNext, detailBody, noCap)) == 0) ++read;
    EXPECT_EQ(r, errorDamagedRecord);
    EXPECT_EQ(boxes.size(), 2u);
    const auto position = std::find(image.firmOrder.begin(), image.firmOrder.end(), 6u) - image.firmOrder.begin();
    EXPECT_EQ(read, position);

    // The long details record through table 7.
    EXPECT_EQ(readRecord(*db, tableDetails, image.detailsRefs[5], 0, noCap), errorDamagedRecord);
    // The details fetch reads past the window and keeps what it can.
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[5], 7, noCap), 0);
    EXPECT_EQ(bytes(db->details.comment), std::string(3000, 'c'));
    EXPECT_EQ(boxes.size(), 3u);
}

TEST_F(SmallWindowTest, EveryTableScansThroughTheSmallWindow) {
    Edition e = generatedEdition(300, 60);
    for (uint32_t r = 0; r < 60; ++r) {
        EditionRubric rubric;
        rubric.code = r < 10 ? "0" + std::to_string(r) : std::to_string(r);
        rubric.title = "Rubric number " + std::to_string(r);
        for (uint32_t f = r; f < 300; f += 7) rubric.firms.push_back(f);
        e.rubrics.push_back(rubric);
    }
    // Names of many beginnings, so that the prefix index is larger than the window too.
    for (uint32_t f = 0; f < 300; ++f) e.firms[f].name = std::string(1, static_cast<char>('A' + f % 26)) +
                                                       static_cast<char>('A' + f / 26) + e.firms[f].name;
    OpenedDatabase db(use(e));
    const int counts[ydb::tableCount] = {60, static_cast<int>(image.prefixes.size()), 60, 300, 60, 60, 300, 300};
    for (int table = 0; table < ydb::tableCount; ++table) {
        ASSERT_GT(image.tableStart[table + 1] - image.tableStart[table], 1024u) << table;
        ASSERT_EQ(seekTable(*db, table, 0, false, noCap), 0);
        const uint16_t detail = table == tableStreetFirms ? detailList : 0;
        int n = 0;
        int32_t r = 0;
        while ((r = readRecord(*db, table, readNext, detail, noCap)) == 0) {
            if (table == tableRubrics) {
                EXPECT_EQ(bytes(db->rubric.title), e.rubrics[static_cast<size_t>(n)].title);
            }
            if (table == tableRubricFirms) {
                EXPECT_EQ(db->rubricFirms.count, e.rubrics[static_cast<size_t>(n)].firms.size());
            }
            if (table == tableStreets) {
                EXPECT_EQ(bytes(db->street.name), e.streets[static_cast<size_t>(n)].name);
            }
            if (table == tableStreetFirms) {
                EXPECT_EQ(db->streetFirms.count, e.streets[static_cast<size_t>(n)].firms.size());
            }
            ++n;
        }
        EXPECT_EQ(r, readEndOfTable) << table;
        EXPECT_EQ(n, counts[table]) << table;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SmallWindowTest, TheWindowIsTheQuarterOfTheNewReadingAfterAskingToClose) {
    OpenedDatabase db(use(sampleEdition()));
    emu::clearJournal();
    ASSERT_EQ(readRecord(*db, tableRubrics, 0, 0, noCap), 0);
    EXPECT_EQ(db->windowCapacity, 1024u);
    EXPECT_EQ(db->windowCapacity, LocalSize(db->window));
    ASSERT_EQ(emu::journal().size(), 1u);
    EXPECT_EQ(emu::journal()[0], "SHCloseApps 4120576");
}

// --- Ends of tables ---------------------------------------------------------------------------------

TEST_F(ReadRecordTest, AnEmptyTableEndsAtOnce) {
    Edition e;
    e.title = "Empty";
    OpenedDatabase db(use(e));
    for (int table = 0; table < ydb::tableCount; ++table) {
        EXPECT_EQ(seekTable(*db, table, 0, false, noCap), 0);
        EXPECT_EQ(readRecord(*db, table, readNext, 0, noCap), readEndOfTable) << table;
        EXPECT_EQ(readRecord(*db, table, 0, 0, noCap), readEndOfTable) << table;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReadRecordTest, AnOffsetAtOrBeyondTheTablesLengthIsTheEndWithoutAMessage) {
    OpenedDatabase db(use(sampleEdition()));
    const uint32_t length = firmTableLength();
    EXPECT_EQ(readRecord(*db, tableFirms, length, 7, noCap), readEndOfTable);
    EXPECT_EQ(readRecord(*db, tableFirms, length + 1000, 7, noCap), readEndOfTable);
    EXPECT_EQ(readRecord(*db, tablePhones, 0xFFFFFFFE, 0, noCap), readEndOfTable);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(db->lastError, 0);
}

TEST_F(ReadRecordTest, TheLastRecordIsReadThenNextIsTheEndAgainAndAgain) {
    OpenedDatabase db(use(sampleEdition()));
    const std::vector<uint32_t> refs = refsInTableOrder();
    ASSERT_EQ(readRecord(*db, tableFirms, refs.back(), detailBody, noCap), 0);
    EXPECT_EQ(std::string(db->firm.name), edition.firms[image.firmOrder.back()].name);
    // The table ends exactly where this window ends.
    EXPECT_EQ(db->windowStart + db->windowLength, image.tableStart[4]);
    EXPECT_EQ(readRecord(*db, tableFirms, readNext, detailBody, noCap), readEndOfTable);
    EXPECT_EQ(readRecord(*db, tableFirms, readNext, detailBody, noCap), readEndOfTable);
    EXPECT_EQ(std::string(db->firm.name), edition.firms[image.firmOrder.back()].name);  // slot unchanged
}

TEST_F(ReadRecordTest, CappedLookupsFillNoMoreThanAskedAndNextGoesOn) {
    OpenedDatabase db(use(generatedEdition(2000, 10)));
    const std::vector<uint32_t> refs = refsInTableOrder();
    ASSERT_EQ(readRecord(*db, tableFirms, refs[100], 7, cardReadCap), 0);
    EXPECT_EQ(db->windowLength, cardReadCap);
    EXPECT_EQ(db->windowStart, image.tableStart[3] + refs[100]);
    ASSERT_EQ(readRecord(*db, tableRubrics, 0, 0, lookupReadCap), readEndOfTable);  // the sample has none
    ASSERT_EQ(readRecord(*db, tableFirms, refs[1500], detailBody, lookupReadCap), 0);
    EXPECT_EQ(db->windowLength, lookupReadCap);
    // NEXT goes on past the capped window, refilling as needed.
    for (size_t k = 1501; k < refs.size(); ++k) {
        ASSERT_EQ(tableOffset(*db, tableFirms), refs[k]);
        ASSERT_EQ(readRecord(*db, tableFirms, readNext, detailBody, noCap), 0) << k;
    }
    EXPECT_EQ(readRecord(*db, tableFirms, readNext, detailBody, noCap), readEndOfTable);
}

// --- Failures of the file and of memory ------------------------------------------------------------

TEST_F(ReadRecordTest, APositioningFailureDuringAFillIsReportedAndRefusesFurtherFills) {
    OpenedDatabase db(use(sampleEdition()));
    emu::failSetFilePointer(1, ERROR_SEEK);
    EXPECT_EQ(readRecord(*db, tableFirms, 0, detailBody, noCap), errorSeek);
    EXPECT_EQ(db->lastError, static_cast<int32_t>(ERROR_SEEK));
    EXPECT_EQ(damagedBoxes(), 1u);
    // While lastError holds the platform's error, seekTable refuses.
    EXPECT_EQ(seekTable(*db, tableFirms, 0, false, noCap), errorFillRefused);
    EXPECT_EQ(damagedBoxes(), 1u);  // seekTable alone shows nothing
    // The next readRecord clears it and fills again.
    EXPECT_EQ(readRecord(*db, tableFirms, 0, detailBody, noCap), 0);
    EXPECT_EQ(db->lastError, 0);
    EXPECT_EQ(seekTable(*db, tableFirms, 0, true, noCap), 0);
}

TEST_F(ReadRecordTest, AReadFailureDuringAFillIsReported) {
    OpenedDatabase db(use(sampleEdition()));
    emu::failReadFile(ERROR_READ_FAULT);
    EXPECT_EQ(readRecord(*db, tableStreets, 0, 0, noCap), errorRead);
    EXPECT_EQ(db->lastError, static_cast<int32_t>(ERROR_READ_FAULT));
    EXPECT_EQ(damagedBoxes(), 1u);
    EXPECT_EQ(readRecord(*db, tableStreets, 0, 0, noCap), 0);
    EXPECT_EQ(bytes(db->street.key), edition.streets[0].key);
}

TEST_F(ReadRecordTest, SeekTableAloneReportsNothing) {
    OpenedDatabase db(use(sampleEdition()));
    emu::failSetFilePointer(1, ERROR_SEEK);
    EXPECT_EQ(seekTable(*db, tableRubrics, 0, false, noCap), errorSeek);
    emu::clearFaults();
    EXPECT_EQ(seekTable(*db, tableRubrics, 0, false, noCap), errorFillRefused);
    EXPECT_TRUE(boxes.empty());
    // After a failed rewind NEXT has no place to go on from; entering at a reference clears the
    // code and refills.
    ASSERT_EQ(readRecord(*db, tableRubrics, 0, 0, noCap), 0);
    EXPECT_EQ(bytes(db->rubric.code), "01");
    emu::failReadFile(ERROR_READ_FAULT);
    EXPECT_EQ(seekTable(*db, tableRubrics, 0, true, noCap), errorRead);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReadRecordTest, AShortFillThatMissesTheRecordsStartIsReported) {
    OpenedDatabase db(use(sampleEdition()));
    emu::shortReadFile(0);
    EXPECT_EQ(readRecord(*db, tableFirms, image.firmRefs[0], detailBody, noCap), errorShortFill);
    EXPECT_EQ(db->lastError, errorShortFill);
    EXPECT_EQ(damagedBoxes(), 1u);
    // A short fill that holds only part of the record: re-read once, then it fits.
    emu::shortReadFile(5);
    EXPECT_EQ(readRecord(*db, tableFirms, image.firmRefs[0], detailBody, noCap), 0);
    EXPECT_EQ(bytes(db->firm.name), edition.firms[0].name);
    EXPECT_EQ(damagedBoxes(), 1u);
}

TEST_F(ReadRecordTest, NoMemoryForAFirmListIsItsOwnCodeWithoutAMessage) {
    OpenedDatabase db(use(sampleEdition()));
    ASSERT_EQ(readRecord(*db, tableRubrics, 0, 0, noCap), 0);  // the window exists
    emu::failLocalAlloc(ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(readRecord(*db, tableRubricFirms, image.rubricListRefs[2], 0, noCap), errorNoListMemory);
    EXPECT_EQ(db->lastError, errorNoListMemory);
    EXPECT_EQ(db->rubricFirms.firmRefs, nullptr);
    emu::failLocalAlloc(ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(readRecord(*db, tableStreetFirms, image.streetListRefs[0], detailList, noCap), errorNoListMemory);
    EXPECT_EQ(db->streetFirms.firmRefs, nullptr);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(readRecord(*db, tableRubricFirms, image.rubricListRefs[2], 0, noCap), 0);
    EXPECT_EQ(db->rubricFirms.count, 3u);
}

TEST_F(ReadRecordTest, WithoutMemoryEveryReadSaysSorryAndNothingIsRead) {
    OpenedDatabase db(use(sampleEdition()));
    emu::failLocalAllocAbove(1024);
    EXPECT_EQ(readRecord(*db, tableRubrics, readNext, 0, noCap), errorNoWindow);
    EXPECT_EQ(seekTable(*db, tableRubrics, 0, false, noCap), errorFillRefused);
    EXPECT_EQ(boxesWith(sorryCaption), 2u);
    EXPECT_EQ(db->window, nullptr);
    emu::clearFaults();
    EXPECT_EQ(readRecord(*db, tableRubrics, 0, 0, noCap), 0);
}

// --- The details fetch and table 7's limits ------------------------------------------------------------

TEST_F(ReadRecordTest, TableSevenLimitsShowTheErrBoxAndLeaveTheFieldNone) {
    Edition e = sampleEdition();
    e.firms[1].rubricCodes = "|" + std::string(4094, '1') + "|";  // 4096 characters
    e.firms[1].hours = std::string(300, 'h');
    e.firms[2].hours = std::string(512, 'h');
    e.firms[2].comment = std::string(32768, 'c');
    e.firms[3].rubricCodes = "|" + std::string(4093, '1') + "|";  // 4095: kept
    e.firms[3].hours = std::string(511, 'h');
    e.firms[3].comment = std::string(32767, 'c');
    OpenedDatabase db(use(e));

    ASSERT_EQ(readRecord(*db, tableDetails, image.detailsRefs[1], 0, noCap), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Список рубрик");
    EXPECT_EQ(boxes[0].caption, u"ERR");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(db->details.rubricCodes, nullptr);
    EXPECT_EQ(bytes(db->details.hours), std::string(300, 'h'));  // within 511
    EXPECT_EQ(wide(db->details.phones), u"3100000");

    ASSERT_EQ(readRecord(*db, tableDetails, image.detailsRefs[2], 0, noCap), 0);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].text, u"Часы работы");
    EXPECT_EQ(boxes[2].text, u"Комментарий");
    EXPECT_EQ(db->details.hours, nullptr);
    EXPECT_EQ(db->details.comment, nullptr);

    ASSERT_EQ(readRecord(*db, tableDetails, image.detailsRefs[3], 0, noCap), 0);
    EXPECT_EQ(boxes.size(), 3u);
    EXPECT_EQ(bytes(db->details.rubricCodes).size(), 4095u);
    EXPECT_EQ(bytes(db->details.hours).size(), 511u);
    EXPECT_EQ(bytes(db->details.comment).size(), 32767u);
}

TEST_F(ReadRecordTest, TheDetailsFetchHasItsOwnSilentLimits) {
    Edition e = sampleEdition();
    e.firms[1].rubricCodes = "|" + std::string(4094, '1') + "|";  // kept, whatever its length
    e.firms[1].hours = std::string(300, 'h');                    // over 255: left none
    // Ёлка-2 has no telephones, prefix, codes or hours: its comment starts at p = 10, so 7933
    // characters end at 7943 < 8192 and are kept.
    e.firms[2].comment = std::string(7933, 'c');
    e.firms[3].comment = std::string(7934, 'c');  // also from p = 10: over 7933, left none
    EditionFirm big;
    big.name = "Big";
    big.rubricCodes = std::string(9000, 'r');  // runs past the 8192 bytes fetched
    big.hours = "9-18";
    EditionFirm edge;
    edge.name = "Edge";
    edge.hours = std::string(255, 'h');
    // From p = 265 the comment runs past byte 8191: only its first 7926 characters are fetched,
    // and those are within the limit.
    edge.comment = std::string(7933, 'c');
    e.firms.push_back(big);
    e.firms.push_back(edge);
    OpenedDatabase db(use(e));

    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[1], 7, cardReadCap), 0);
    EXPECT_EQ(bytes(db->details.rubricCodes).size(), 4096u);
    EXPECT_EQ(db->details.hours, nullptr);
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[2], 7, cardReadCap), 0);
    EXPECT_EQ(bytes(db->details.comment).size(), 7933u);
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[3], 7, cardReadCap), 0);
    EXPECT_EQ(db->details.comment, nullptr);
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[5], 7, cardReadCap), 0);
    EXPECT_EQ(bytes(db->details.hours), std::string(255, 'h'));
    EXPECT_EQ(bytes(db->details.comment), std::string(8191 - 265, 'c'));
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[4], 7, cardReadCap), 0);
    // Cut by the 0 put at byte 8191: 8191 - 8 characters from position 8.
    EXPECT_EQ(bytes(db->details.rubricCodes), std::string(8183, 'r'));
    EXPECT_EQ(db->details.hours, nullptr);
    EXPECT_TRUE(boxes.empty());  // no message in the details fetch
}

TEST_F(ReadRecordTest, FetchedTextsEndAtTheBytesReadNotAtWhatAnEarlierFetchLeft) {
    Edition e = sampleEdition();
    e.firms[0].phones = std::string(40, '9');
    e.firms[0].namePrefix = "PREFIX";
    e.firms[0].comment = std::string(6000, 'x');  // fills the scratch buffer with text
    e.streets[1].key = "ABCDEFGH";
    OpenedDatabase db(use(e));
    // The whole firm table is in the window, so the fetches are the only file reads below.
    ASSERT_EQ(readRecord(*db, tableFirms, 0, detailBody, noCap), 0);

    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[0], 7, noCap), 0);
    ASSERT_NE(db->details.comment, nullptr);

    // The details of firm 1 arrive short: length, firmRef and two bytes of its telephones.
    emu::shortReadFile(8);
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[1], detailBody | detailDetails, noCap), 0);
    EXPECT_EQ(db->details.firmRef, image.firmRefs[1]);
    EXPECT_EQ(wide(db->details.phones), u"31");
    EXPECT_EQ(wide(db->details.namePrefix), u"");
    EXPECT_EQ(db->details.rubricCodes, nullptr);
    EXPECT_EQ(db->details.hours, nullptr);
    EXPECT_EQ(db->details.comment, nullptr);

    // Fewer than six bytes: the numbers are 0, not those of the earlier fetch.
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[0], 7, noCap), 0);
    emu::shortReadFile(3);
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[1], detailBody | detailDetails, noCap), 0);
    EXPECT_EQ(db->details.length, ydb::loadU16(image.bytes.data() + image.tableStart[7] + image.detailsRefs[1]));
    EXPECT_EQ(db->details.firmRef, image.firmRefs[1] & 0xFF);
    EXPECT_EQ(wide(db->details.phones), u"");

    // The street of firm 1 (САД → "ABCDEFGH") arrives short: its key has no 0 in what was read.
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[0], 7, noCap), 0);
    emu::shortReadFile(6);
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[1], detailBody | detailStreet, noCap), 0);
    EXPECT_EQ(wide(db->firm.streetName), u"");
    EXPECT_EQ(db->firm.streetNameText, nullptr);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReadRecordTest, ATruncatedLastDetailsRecordKeepsOnlyWhatTheFileHolds) {
    Edition e = sampleEdition();
    e.chunks.clear();
    e.firms[0].comment = std::string(100, 'z');  // ООО «Ромашка» is last in table order
    DatabaseImage cut;
    std::string error;
    ASSERT_EQ(writeEdition(e, cut, error), writeOk);
    ASSERT_EQ(cut.firmOrder.back(), 0u);
    const auto size = static_cast<uint32_t>(cut.bytes.size()) - 40;  // the comment loses its end and its 0
    truncateImage(cut, size);
    setTableStart(cut, 8, size);
    OpenedDatabase db(install(cut, "cut.ydb"));
    ASSERT_EQ(db->lastError, 0);
    // Another firm's fetch first, so that the scratch buffer holds other text.
    ASSERT_EQ(readRecord(*db, tableFirms, cut.firmRefs[1], 7, noCap), 0);
    ASSERT_EQ(readRecord(*db, tableFirms, cut.firmRefs[0], 7, noCap), 0);
    EXPECT_EQ(bytes(db->details.comment), std::string(61, 'z'));
    // Table 7 read directly: the record does not fit in its table, so it is damaged.
    EXPECT_EQ(readRecord(*db, tableDetails, cut.detailsRefs[0], 0, noCap), errorDamagedRecord);
    EXPECT_EQ(damagedBoxes(), 1u);
}

TEST_F(ReadRecordTest, StreetNamesNeedTheKeysZeroWithinTheRecordsLength) {
    Edition e = sampleEdition();
    OpenedDatabase db0(use(e, "good.ydb"));
    ASSERT_EQ(readRecord(*db0, tableFirms, image.firmRefs[0], 3, noCap), 0);
    EXPECT_EQ(wide(db0->firm.streetName), u"Невский пр.");

    // The first street's length says 2: positions 2 and 3 hold "НЕ", no 0.
    DatabaseImage bad = image;
    patchU16(bad, absoluteOffset(bad, tableStreets, bad.streetRefs[0]), 2);
    OpenedDatabase db(install(bad, "bad.ydb"));
    ASSERT_EQ(readRecord(*db, tableFirms, image.firmRefs[0], 3, noCap), 0);
    EXPECT_EQ(wide(db->firm.streetName), u"");
    EXPECT_EQ(db->firm.streetNameText, nullptr);
    // Length 3 searches positions 2..4, "НЕВ"; length 4 reaches the key's 0 at position 5.
    patchU16(bad, absoluteOffset(bad, tableStreets, bad.streetRefs[0]), 3);
    OpenedDatabase db3(install(bad, "bad3.ydb"));
    ASSERT_EQ(readRecord(*db3, tableFirms, image.firmRefs[0], 3, noCap), 0);
    EXPECT_EQ(wide(db3->firm.streetName), u"");
    patchU16(bad, absoluteOffset(bad, tableStreets, bad.streetRefs[0]), 4);
    OpenedDatabase db4(install(bad, "bad4.ydb"));
    ASSERT_EQ(readRecord(*db4, tableFirms, image.firmRefs[0], 3, noCap), 0);
    EXPECT_EQ(wide(db4->firm.streetName), u"Невский пр.");

    // A firm without a street (reference beyond table 4) has no street name and no message.
    ASSERT_EQ(readRecord(*db4, tableFirms, image.firmRefs[3], 3, noCap), 0);
    EXPECT_EQ(db4->firm.streetRef, noStreet);
    EXPECT_EQ(wide(db4->firm.streetName), u"");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReadRecordTest, AFirmWhoseDetailsReferenceIsBeyondTableSevenHasNoDetails) {
    DatabaseImage bad;
    std::string error;
    ASSERT_EQ(writeEdition(sampleEdition(), bad, error), writeOk);
    const uint32_t record = absoluteOffset(bad, tableFirms, bad.firmRefs[0]);
    const uint16_t length = ydb::loadU16(bad.bytes.data() + record);
    patchU32(bad, record + 2 + length - 4, bad.tableStart[8] - bad.tableStart[7]);
    OpenedDatabase db(install(bad, "bad.ydb"));
    ASSERT_EQ(readRecord(*db, tableFirms, bad.firmRefs[0], 7, noCap), 0);
    EXPECT_EQ(wide(db->details.phones), u"");
    EXPECT_EQ(db->details.rubricCodes, nullptr);
    EXPECT_EQ(wide(db->firm.streetName), u"Невский пр.");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReadRecordTest, AScanWithStreetsAndDetailsKeepsItsPlaceInTheWindow) {
    setFreeMemory(1u << 20);
    OpenedDatabase db(use(generatedEdition(300, 12)));
    ASSERT_EQ(seekTable(*db, tableFirms, 0, false, noCap), 0);
    const uint32_t start = db->windowStart;
    int n = 0;
    while (readRecord(*db, tableFirms, readNext, 7, noCap) == 0) {
        const EditionFirm& f = edition.firms[image.firmOrder[static_cast<size_t>(n)]];
        EXPECT_EQ(wide(db->firm.streetName), fromCp1251(edition.streets[f.street].name));
        EXPECT_EQ(bytes(db->details.comment), f.comment);
        ++n;
    }
    EXPECT_EQ(n, 300);
    EXPECT_EQ(db->windowStart, start);  // one fill for the whole scan
}

}  // namespace
