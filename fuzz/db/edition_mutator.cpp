#include "fuzz/db/edition_mutator.h"

#include <algorithm>
#include <cstring>
#include <random>

#include "db/format.h"
#include "fuzz/db/seed_edition.h"
#include "tools/writer/edition_writer.h"

namespace {

// Enough records to choose from in any table, few enough that a mutation stays cheap.
constexpr size_t maxRecordsWalked = 512;
constexpr size_t maxChunksWalked = 64;
constexpr uint32_t maxResize = 16;

using Random = std::minstd_rand;

uint32_t below(Random& random, size_t n) { return n == 0 ? 0 : static_cast<uint32_t>(random() % n); }

// Where the header says each table begins and ends, held to the input's bytes.
struct Shape {
    const uint8_t* data;
    uint32_t size;
    uint32_t start[ydb::tableStartCount];
    uint32_t end(int table) const {
        const uint32_t next = table + 1 < int(ydb::tableStartCount) ? start[table + 1] : size;
        return std::max(start[table], next);
    }
};

Shape shapeOf(const uint8_t* data, size_t size) {
    Shape shape{data, static_cast<uint32_t>(size), {}};
    for (uint32_t k = 0; k < ydb::tableStartCount; ++k)
        shape.start[k] = std::min(ydb::loadU32(data + ydb::tableStartOffset + 4 * k), shape.size);
    return shape;
}

// The end of the text at `at` (its 0), or 0 when it runs to `end`.
uint32_t textEnd(const Shape& shape, uint32_t at, uint32_t end) {
    if (at >= end) return 0;
    const void* zero = std::memchr(shape.data + at, 0, end - at);
    return zero ? static_cast<uint32_t>(static_cast<const uint8_t*>(zero) - shape.data) : 0;
}

// Where the record at `at` ends by its own counts, or 0 when it does not fit before `end`.
uint32_t recordEnd(const Shape& shape, int table, uint32_t at, uint32_t end) {
    uint64_t next = 0;
    switch (table) {
    case ydb::tableRubrics: {
        const uint32_t code = textEnd(shape, at, end);
        const uint32_t title = code ? textEnd(shape, code + 1, end) : 0;
        next = title ? uint64_t{title} + 1 + 1 + ydb::refSize : 0;
        break;
    }
    case ydb::tablePrefixes:
        next = uint64_t{at} + ydb::prefixEntrySize;
        break;
    case ydb::tablePhones:
        next = uint64_t{at} + ydb::phoneEntrySize;
        break;
    case ydb::tableRubricFirms:
        next = at + 4 <= end ? uint64_t{at} + 4 + ydb::loadU32(shape.data + at) : 0;
        break;
    default:  // a 16-bit length or byte count before the body
        next = at + 2 <= end ? uint64_t{at} + 2 + ydb::loadU16(shape.data + at) : 0;
        break;
    }
    return next > at && next <= end ? static_cast<uint32_t>(next) : 0;
}

std::vector<uint32_t> recordsOf(const Shape& shape, int table) {
    std::vector<uint32_t> records;
    const uint32_t end = shape.end(table);
    for (uint32_t at = shape.start[table]; at < end && records.size() < maxRecordsWalked;) {
        const uint32_t next = recordEnd(shape, table, at, end);
        if (next == 0) break;
        records.push_back(at);
        at = next;
    }
    return records;
}

enum class FieldKind { number, count, reference, text };

struct Field {
    uint32_t at;
    uint32_t width;  // bytes of a number; of a text, its length without the 0
    FieldKind kind;
    int target = -1;  // the table a reference points into
};

// Reads the fields of a record in order: numbers of fixed width and 0-ended texts.
struct FieldReader {
    const Shape& shape;
    uint32_t at, end;
    std::vector<Field>& fields;
    bool number(uint32_t width, FieldKind kind = FieldKind::number, int target = -1) {
        if (at + width > end) return false;
        fields.push_back({at, width, kind, target});
        at += width;
        return true;
    }
    bool text() {
        const uint32_t zero = textEnd(shape, at, end);
        if (zero == 0) return false;
        fields.push_back({at, zero - at, FieldKind::text});
        at = zero + 1;
        return true;
    }
    void refs(uint32_t count) {
        for (uint32_t i = 0; i < count && i < 8 && number(ydb::refSize, FieldKind::reference, ydb::tableFirms); ++i) {}
    }
};

std::vector<Field> fieldsOf(const Shape& shape, int table, uint32_t at) {
    std::vector<Field> fields;
    const uint32_t end = recordEnd(shape, table, at, shape.end(table));
    if (end == 0) return fields;
    FieldReader r{shape, at, end, fields};
    switch (table) {
    case ydb::tableRubrics:
        (void)(r.text() && r.text() && r.number(1) && r.number(ydb::refSize, FieldKind::reference, ydb::tableRubricFirms));
        break;
    case ydb::tablePrefixes:
        fields.push_back({at, ydb::prefixFieldSize, FieldKind::text});
        r.at += ydb::prefixFieldSize;
        r.number(ydb::refSize, FieldKind::reference, ydb::tableFirms);
        break;
    case ydb::tableRubricFirms:
        r.number(ydb::rubricListCountSize, FieldKind::count);
        r.refs((end - r.at) / ydb::refSize);
        break;
    case ydb::tableFirms:
        (void)(r.number(2, FieldKind::count) && r.text() && r.number(ydb::refSize, FieldKind::reference, ydb::tableStreets) &&
               r.number(4) && r.text() && r.text() && r.text() && r.text() &&
               r.number(ydb::refSize, FieldKind::reference, ydb::tableDetails));
        break;
    case ydb::tableStreets:
        (void)(r.number(2, FieldKind::count) && r.text() && r.text() &&
               r.number(ydb::refSize, FieldKind::reference, ydb::tableStreetFirms));
        break;
    case ydb::tableStreetFirms:
        r.number(ydb::streetListCountSize, FieldKind::count);
        r.refs((end - r.at) / ydb::refSize);
        break;
    case ydb::tablePhones:
        (void)(r.number(4) && r.number(ydb::refSize, FieldKind::reference, ydb::tableFirms));
        break;
    default:
        (void)(r.number(2, FieldKind::count) && r.number(ydb::refSize, FieldKind::reference, ydb::tableFirms) && r.text() &&
               r.text() && r.text() && r.text() && r.text());
        break;
    }
    return fields;
}

void store(uint8_t* at, uint32_t width, uint32_t value) {
    if (width == 1) *at = static_cast<uint8_t>(value);
    else if (width == 2) ydb::storeU16(at, static_cast<uint16_t>(value));
    else ydb::storeU32(at, value);
}

uint32_t load(const uint8_t* at, uint32_t width) {
    return width == 1 ? *at : width == 2 ? ydb::loadU16(at) : ydb::loadU32(at);
}

// A value worth trying where a number, count or reference of `current` stood.
uint32_t interestingValue(Random& random, const Shape& shape, const Field& field, uint32_t current) {
    if (field.kind == FieldKind::reference && random() % 2 == 0) {
        // Another record of the table it points into: sound, but not the one meant.
        const std::vector<uint32_t> records = recordsOf(shape, field.target);
        if (!records.empty()) return records[below(random, records.size())] - shape.start[field.target];
        return shape.end(field.target) - shape.start[field.target];
    }
    switch (random() % 7) {
    case 0: return 0;
    case 1: return current + 1;
    case 2: return current - 1;
    case 3: return 0xFFFFFFFFu;
    case 4: return current + 1 + below(random, 64);
    case 5: return field.kind == FieldKind::reference ? shape.end(field.target) - shape.start[field.target] : current / 2;
    default: return static_cast<uint32_t>(random());
    }
}

uint8_t letter(Random& random) {
    static const char letters[] = "AaBZz09 -.\"&|,\xC0\xC1\xE0\xFF\xA8\xB8\xCE\xEE";
    return static_cast<uint8_t>(letters[below(random, sizeof letters - 1)]);
}

struct Mutation {
    Random& random;
    uint8_t* data;
    size_t size, maxSize;
    Shape shape;

    // A table with records, and one of its records chosen.
    bool pickRecord(int& table, uint32_t& at) {
        for (int tries = 0; tries < 8; ++tries) {
            table = static_cast<int>(below(random, ydb::tableCount));
            const std::vector<uint32_t> records = recordsOf(shape, table);
            if (records.empty()) continue;
            at = records[below(random, records.size())];
            return true;
        }
        return false;
    }

    bool pickField(bool text, Field& chosen, int& table) {
        uint32_t at = 0;
        for (int tries = 0; tries < 8; ++tries) {
            if (!pickRecord(table, at)) return false;
            std::vector<Field> fields = fieldsOf(shape, table, at);
            std::erase_if(fields, [text](const Field& f) { return (f.kind == FieldKind::text) != text; });
            if (fields.empty()) continue;
            chosen = fields[below(random, fields.size())];
            return true;
        }
        return false;
    }

    bool number() {
        Field field{};
        int table = 0;
        if (!pickField(false, field, table)) return false;
        const uint32_t current = load(data + field.at, field.width);
        store(data + field.at, field.width, interestingValue(random, shape, field, current));
        return true;
    }

    // A letter changed, the text's 0 taken away, or another record's text of the same place
    // copied in (so that names, keys and codes begin alike across records).
    bool text() {
        Field field{};
        int table = 0;
        if (!pickField(true, field, table)) return false;
        const uint32_t choice = random() % 3;
        if (choice == 0 && field.width > 0) {
            data[field.at + below(random, field.width)] = letter(random);
        } else if (choice == 1) {
            data[field.at + field.width] = letter(random);
        } else {
            Field other{};
            int otherTable = 0;
            if (!pickField(true, other, otherTable)) return false;
            std::memmove(data + field.at, data + other.at, std::min(field.width, other.width));
        }
        return true;
    }

    // Bytes inserted into or taken out of a record, its length and the later table starts moved
    // along, so that what follows stays where the header says.
    bool resize() {
        int table = 0;
        uint32_t at = 0;
        if (!pickRecord(table, at) || table == ydb::tablePrefixes || table == ydb::tablePhones) return false;
        const uint32_t end = recordEnd(shape, table, at, shape.end(table));
        const uint32_t lengthSize = table == ydb::tableRubricFirms ? 4 : table == ydb::tableRubrics ? 0 : 2;
        const bool list = table == ydb::tableRubricFirms || table == ydb::tableStreetFirms;
        // A list gains or loses a whole reference; other records any few bytes.
        const uint32_t by = list ? ydb::refSize : 1 + below(random, maxResize);
        const uint32_t step = list ? ydb::refSize : 1;
        const uint32_t bodyStart = at + lengthSize;
        const bool grow = random() % 2 == 0;
        if (grow) {
            if (size + by > maxSize) return false;
            const uint32_t where = bodyStart + step * below(random, (end - bodyStart) / step + 1);
            std::memmove(data + where + by, data + where, size - where);
            for (uint32_t i = 0; i < by; ++i) data[where + i] = letter(random);
            if (list) ydb::storeU32(data + where, ydb::loadU32(data + bodyStart));
            size += by;
        } else {
            if (end - bodyStart < by) return false;
            const uint32_t where = bodyStart + step * below(random, (end - bodyStart - by) / step + 1);
            std::memmove(data + where, data + where + by, size - where - by);
            size -= by;
        }
        if (lengthSize > 0) {
            const uint32_t length = load(data + at, lengthSize);
            store(data + at, lengthSize, grow ? length + by : length - by);
        }
        for (uint32_t k = 0; k < ydb::tableStartCount; ++k) {
            uint8_t* field = data + ydb::tableStartOffset + 4 * k;
            const uint32_t start = ydb::loadU32(field);
            if (start >= end && start <= shape.size) ydb::storeU32(field, grow ? start + by : start - by);
        }
        return true;
    }

    // A table start or a count of the header set to a boundary that means something elsewhere, or
    // its reserved last byte changed.
    bool header() {
        // The last byte is reserved, and the database exercise reads it as which way to read.
        if (random() % 6 == 0) {
            data[ydb::headerSize - 1] = static_cast<uint8_t>(random());
            return true;
        }
        static const uint32_t counts[] = {ydb::rubricCountOffset, ydb::prefixCountOffset, ydb::streetCountOffset,
                                          ydb::phoneCountOffset};
        const uint32_t pick = below(random, ydb::tableStartCount + 4);
        const uint32_t offset = pick < ydb::tableStartCount ? ydb::tableStartOffset + 4 * pick : counts[pick - ydb::tableStartCount];
        const uint32_t current = ydb::loadU32(data + offset);
        uint32_t value = 0;
        switch (random() % 5) {
        case 0: value = shape.start[below(random, ydb::tableStartCount)]; break;
        case 1: value = current + 1; break;
        case 2: value = current - 1; break;
        case 3: value = shape.size - below(random, 8); break;
        default: {
            int table = 0;
            uint32_t at = 0;
            value = pickRecord(table, at) ? (pick < ydb::tableStartCount ? at : current + at % 3) : 0xFFFFFFFFu;
            break;
        }
        }
        ydb::storeU32(data + offset, value);
        return true;
    }

    // A chunk of the resource area: its tag, its size or where its pixel bits begin.
    bool chunk() {
        std::vector<uint32_t> chunks;
        for (uint32_t at = shape.start[ydb::resourceArea];
             at + ydb::chunkHeaderSize <= shape.size && chunks.size() < maxChunksWalked;) {
            chunks.push_back(at);
            const uint32_t length = ydb::loadU32(data + at + ydb::chunkSizeOffset);
            if (length < ydb::chunkHeaderSize || length > shape.size - at) break;
            at += length;
        }
        if (chunks.empty()) return false;
        const uint32_t at = chunks[below(random, chunks.size())];
        const uint32_t length = ydb::loadU32(data + at + ydb::chunkSizeOffset);
        const uint32_t rest = shape.size - at;
        const uint32_t values[] = {0, ydb::chunkHeaderSize - 1, ydb::chunkHeaderSize, length - 1, length + 1, rest,
                                   rest + 1, 0xFFFFFFFFu, 54, static_cast<uint32_t>(random())};
        const uint32_t value = values[below(random, std::size(values))];
        switch (random() % 3) {
        case 0: {
            static const char* tags[] = {ydb::chunkTagPicture, ydb::chunkTagHelp, "\0\0", "BH"};
            std::memcpy(data + at + ydb::chunkTagOffset, tags[below(random, std::size(tags))], 2);
            break;
        }
        case 1: ydb::storeU32(data + at + ydb::chunkSizeOffset, value); break;
        default: ydb::storeU32(data + at + ydb::chunkBitsOffset, value); break;
        }
        return true;
    }
};

} // namespace

size_t mutateEdition(uint8_t* data, size_t size, size_t maxSize, uint32_t seed, const std::vector<uint8_t>& sound,
                     RawMutation raw) {
    Random random(seed);
    const bool database = size >= ydb::headerSize && ydb::hasMagic(data) && size <= 0xFFFFFFFFu;
    if (!database) {
        if (!sound.empty() && sound.size() <= maxSize && (raw == nullptr || random() % 4 == 0)) {
            std::memcpy(data, sound.data(), sound.size());
            return sound.size();
        }
        return raw ? raw(data, size, maxSize) : size;
    }
    // A share of raw mutations keeps libFuzzer's own (its comparisons and dictionary) at work.
    if (raw != nullptr && random() % 5 == 0) return raw(data, size, maxSize);
    Mutation m{random, data, size, maxSize, shapeOf(data, size)};
    for (int tries = 0; tries < 4; ++tries) {
        bool done = false;
        switch (random() % 10) {
        case 0: case 1: case 2: done = m.number(); break;
        case 3: case 4: done = m.text(); break;
        case 5: case 6: done = m.resize(); break;
        case 7: case 8: done = m.header(); break;
        default: done = m.chunk(); break;
        }
        if (done) return m.size;
    }
    return raw ? raw(data, size, maxSize) : size;
}

const std::vector<uint8_t>& soundMutationEdition() {
    static const std::vector<uint8_t> bytes = [] {
        DatabaseImage image;
        std::string error;
        return writeEdition(seedEdition(24), image, error) == writeOk ? image.bytes : std::vector<uint8_t>{};
    }();
    return bytes;
}
