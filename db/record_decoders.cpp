// Decoding each record kind out of the read window.
#include "db/record_walk.h"
#include "db/record_decoding.h"
#include "db/database_messages.h"
#include "db/text_fields.h"

namespace {

void clearDetailsTexts(FirmDetails& details) {
    details.phones[0] = 0;
    details.namePrefix[0] = 0;
    freeOwned(details.rubricCodes);
    freeOwned(details.hours);
    freeOwned(details.comment);
}

void decodeRubric(RecordCursor& in, RubricRecord& rubric) {
    rubric = RubricRecord{};
    rubric.code = in.text();
    rubric.title = in.text();
    rubric.flags = in.u8();
    rubric.firmListRef = in.u32();
}

void decodePrefix(RecordCursor& in, PrefixEntry& entry) {
    entry = PrefixEntry{};
    if (!in.has(ydb::prefixEntrySize)) return in.miss();
    const uint8_t* at = in.data + in.position;
    for (uint32_t i = 0; i < ydb::prefixMaxLength && at[i] != 0; ++i) entry.prefix[i] = static_cast<char>(at[i]);
    in.skip(ydb::prefixFieldSize);
    entry.firmRef = in.u32();
}

// Tables 2 and 5. The list is checked against the window before anything is allocated, so that a
// damaged count cannot ask for gigabytes.
int32_t decodeFirmList(RecordCursor& in, FirmRefList& list, uint32_t byteCount, bool load) {
    freeOwned(list.firmRefs);
    list.byteCount = byteCount;
    list.count = 0;
    if (!in.fits) return 0;
    if (!load) {
        in.skip(byteCount);
        return 0;
    }
    const uint32_t count = byteCount / 4;
    if (!in.has(count * 4)) {
        in.miss();
        return 0;
    }
    if (count > 0) {
        list.firmRefs = static_cast<uint32_t*>(LocalAlloc(LMEM_FIXED, count * sizeof(uint32_t)));
        if (!list.firmRefs) return errorNoListMemory;
    }
    for (uint32_t i = 0; i < count; ++i) list.firmRefs[i] = in.u32();
    list.count = count;
    return 0;
}

void decodeFirm(DirectoryDatabase& db, RecordCursor& in, uint16_t detail) {
    Firm& firm = db.firm;
    const bool inPlace = (detail & detailTextsInPlace) != 0;
    if (inPlace) {
        // The fields a scan leaves unconverted only need to read as empty texts.
        firm.length = 0;
        firm.name = firm.streetNameText = firm.houseSuffixText = nullptr;
        firm.streetRef = firm.house = firm.detailsRef = 0;
        firm.houseSuffix[0] = firm.web[0] = firm.email[0] = firm.phone[0] = firm.streetName[0] = 0;
    } else {
        firm = Firm{};
    }
    clearDetailsTexts(db.details);
    firm.length = walkBodyLength(in);
    if (!in.fits) return;
    firm.name = reinterpret_cast<const char*>(in.data + in.position);
    if (!(detail & detailBody)) {
        in.skip(firm.length);
        return;
    }
    FirmFields fields;
    walkFirmBody(in, fields);
    firm.name = fields.name;
    firm.streetRef = fields.streetRef;
    firm.house = fields.house;
    firm.houseSuffixText = fields.houseSuffix;
    if (!inPlace) {
        // A text the walk missed stays empty, as do the ones after it.
        if (fields.houseSuffix) convertText(fields.houseSuffix, fields.houseSuffixLength, firm.houseSuffix);
        if (fields.web) convertText(fields.web, fields.webLength, firm.web);
        if (fields.email) convertText(fields.email, fields.emailLength, firm.email);
        if (fields.phone) convertText(fields.phone, fields.phoneLength, firm.phone);
    }
    firm.detailsRef = fields.detailsRef;
    if (!in.fits) return;
    if (detail & detailStreet) fetchStreetName(db);
    if (detail & detailDetails) fetchDetails(db);
}

void decodeStreet(RecordCursor& in, Street& street) {
    street = Street{};
    street.length = in.u16();
    street.key = in.text();
    street.name = in.text();
    street.firmListRef = in.u32();
}

void decodePhone(RecordCursor& in, PhoneEntry& entry) {
    entry.number = in.u32();
    entry.firmRef = in.u32();
}

// A long details text: kept when within its limit, else the label's box and none.
char* longText(const char* text, uint32_t length, uint32_t limit, LPCWSTR label) {
    if (!text || length == 0) return nullptr;
    if (length > limit) {
        reportFieldTooLong(label);
        return nullptr;
    }
    return copyOwnedText(text, length);
}

void decodeDetails(RecordCursor& in, FirmDetails& details) {
    clearDetailsTexts(details);
    details.length = walkBodyLength(in);
    if (!in.fits) return;
    DetailsFields fields;
    walkDetailsBody(in, fields);
    details.firmRef = fields.firmRef;
    if (fields.phones) convertText(fields.phones, fields.phonesLength, details.phones);
    if (fields.namePrefix) convertText(fields.namePrefix, fields.namePrefixLength, details.namePrefix);
    details.rubricCodes = longText(fields.rubricCodes, fields.rubricCodesLength, ydb::rubricCodesMax, W("Список рубрик"));
    details.hours = longText(fields.hours, fields.hoursLength, ydb::hoursMax, W("Часы работы"));
    details.comment = longText(fields.comment, fields.commentLength, ydb::commentMax, W("Комментарий"));
}

} // namespace

int32_t decodeRecord(DirectoryDatabase& db, int table, uint16_t detail) {
    RecordCursor in{db.window, db.windowLength, db.cursor};
    int32_t result = 0;
    switch (table) {
    case ydb::tableRubrics: decodeRubric(in, db.rubric); break;
    case ydb::tablePrefixes: decodePrefix(in, db.prefix); break;
    case ydb::tableRubricFirms: {
        const uint32_t byteCount = in.u32();
        result = decodeFirmList(in, db.rubricFirms, byteCount, true);
        break;
    }
    case ydb::tableFirms: decodeFirm(db, in, detail); break;
    case ydb::tableStreets: decodeStreet(in, db.street); break;
    case ydb::tableStreetFirms: {
        const uint32_t byteCount = in.u16();
        result = decodeFirmList(in, db.streetFirms, byteCount, (detail & detailList) != 0);
        break;
    }
    case ydb::tablePhones: decodePhone(in, db.phoneEntry); break;
    case ydb::tableDetails: decodeDetails(in, db.details); break;
    default: in.miss(); break;
    }
    db.cursor = in.fits ? in.position : db.windowLength + 1;
    return result;
}
