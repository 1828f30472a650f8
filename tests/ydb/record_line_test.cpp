// A dumped record's line is the JSON text the library makes of the same object, whatever the
// texts hold: quotes, backslashes, control bytes, letters of the code page, lone surrogates.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tools/ydb/examine/record_json.h"
#include "tools/ydb/source/cp1251.h"

#include <cstring>

namespace {

using ordered = nlohmann::ordered_json;

std::string libraryLine(const ordered& object) {
    return object.dump(-1, ' ', false, ordered::error_handler_t::replace);
}

template <size_t N> void fill(WCHAR (&field)[N], std::u16string_view text) {
    for (size_t i = 0; i < text.size() && i + 1 < N; ++i) field[i] = static_cast<WCHAR>(text[i]);
}

TEST(RecordLine, FirmAndDetailsTextsAreEscapedAsTheLibraryEscapesThem) {
    DirectoryDatabase db{};
    const char name[] = "\"Quote\" \\ back\tslash \x01\x1f \xc0\xe1\xe2 \xb9 \x98";
    db.firm.name = name;
    db.firm.streetRef = 4294967295u;
    db.firm.house = 12;
    fill(db.firm.houseSuffix, u"\u0431");
    fill(db.firm.web, u"www.\xd800x.ru");  // a lone surrogate
    fill(db.firm.email, u"a\"b@c\\d\u007f");
    fill(db.firm.phone, u"\n\r\b\f");
    db.firm.detailsRef = 0;

    ordered expected{{"ref", 77}};
    expected["name"] = cp1251ToUtf8(name), expected["streetRef"] = 4294967295u, expected["house"] = 12;
    expected["houseSuffix"] = utf16ToUtf8(db.firm.houseSuffix, std::size(db.firm.houseSuffix));
    expected["web"] = utf16ToUtf8(db.firm.web, std::size(db.firm.web));
    expected["email"] = utf16ToUtf8(db.firm.email, std::size(db.firm.email));
    expected["phone"] = utf16ToUtf8(db.firm.phone, std::size(db.firm.phone));
    expected["detailsRef"] = 0;
    EXPECT_EQ(recordJson(db, tableFirms, 77), libraryLine(expected));

    char hours[] = "9\x96" "18";
    db.details.firmRef = 3;
    db.details.hours = hours;  // no rubric codes, no comment: empty texts
    fill(db.details.phones, u"(495) 111-11-11");
    ordered details{{"ref", 5}};
    details["firmRef"] = 3, details["phones"] = "(495) 111-11-11", details["namePrefix"] = "";
    details["rubricCodes"] = "", details["hours"] = cp1251ToUtf8(hours), details["comment"] = "";
    EXPECT_EQ(recordJson(db, tableDetails, 5), libraryLine(details));
}

TEST(RecordLine, ReferenceListsAndFixedFields) {
    DirectoryDatabase db{};
    uint32_t refs[] = {0, 17, 4000000000u};
    db.rubricFirms = FirmRefList{12, refs, 3};
    EXPECT_EQ(recordJson(db, tableRubricFirms, 9), R"({"ref":9,"byteCount":12,"firmRefs":[0,17,4000000000]})");
    db.rubricFirms = FirmRefList{};  // a list read without its entries
    EXPECT_EQ(recordJson(db, tableRubricFirms, 9), R"({"ref":9,"byteCount":0,"firmRefs":[]})");
    db.streetFirms = FirmRefList{6, refs, 1};  // the street lists count entries, not bytes
    EXPECT_EQ(recordJson(db, tableStreetFirms, 1), R"({"ref":1,"byteCount":6,"firmRefs":[0]})");

    // A prefix fills its field without a terminating 0.
    std::memcpy(db.prefix.prefix, "\xc0\xe1\x22\\zq", sizeof db.prefix.prefix);
    db.prefix.firmRef = 8;
    EXPECT_EQ(recordJson(db, tablePrefixes, 2), "{\"ref\":2,\"prefix\":\"\xd0\x90\xd0\xb1\\\"\\\\zq\",\"firmRef\":8}");
    EXPECT_EQ(recordJson(db, 9, 2), R"({"ref":2})");
}

} // namespace
