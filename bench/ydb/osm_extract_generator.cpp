// Writes a generated OpenStreetMap extract for measuring `ydb import` at city scale:
//   bench_osm_extract_generator [--nodes N] [--firms F] [--seed S] -o FILE.osm.pbf
// F business objects (four in five points, the rest buildings as ways and one in twenty as
// multipolygons) among N nodes in all; a tenth of the buildings also carry a point of the same name
// inside them (the same firm mapped twice). Names, addresses, telephones, web sites and hours take
// the forms real extracts have, and a few objects are benches, nameless or of another script.
// One seed, one file. Measure with: /usr/bin/time -v ydb import FILE -o DIR --quiet
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <osmium/builder/attr.hpp>
#include <osmium/io/any_output.hpp>

#include "tools/ydb/source/synth_words.h"

namespace {

using namespace osmium::builder::attr;

using Random = SeededRandom;
const auto& syllables = synthSyllables;
const auto& endings = synthEndings;
const char* const kinds[][2] = {
    {"shop", "supermarket"}, {"shop", "convenience"}, {"shop", "clothes"}, {"shop", "hairdresser"},
    {"shop", "bakery"},      {"shop", "car_repair"},  {"shop", "florist"}, {"shop", "mobile_phone"},
    {"amenity", "cafe"},     {"amenity", "restaurant"}, {"amenity", "pharmacy"}, {"amenity", "bank"},
    {"amenity", "dentist"},  {"amenity", "fast_food"}, {"amenity", "kindergarten"}, {"office", "company"},
    {"office", "estate_agent"}, {"craft", "tailor"}, {"healthcare", "laboratory"}, {"tourism", "hotel"},
    {"leisure", "fitness_centre"}, {"shop", "kiosk"}, {"shop", "trade"}, {"amenity", "bench"}};
const char* const streetKinds[] = {"улица", "проспект", "переулок", "набережная", "шоссе", "бульвар"};
const char* const houses[] = {"", "к1", "к2", "А", "Б", "/2", " корп. 3", "с1"};
const char* const hours[] = {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", "24/7", "Mo-Su 10:00-22:00",
                             "Mo-Fr 09:00-13:00,14:00-18:00; Sa,Su off", "Mo-Fr 10:00-19:00; PH off"};

std::string streetName(uint32_t s) {
    std::string proper = std::string(syllables[s % 30]) + syllables[(s / 30) % 30] + "ская";
    const char* kind = streetKinds[s % 6];
    std::string number = s >= 900 ? " " + std::to_string(s / 900 + 1) + "-я" : "";
    return s % 2 ? std::string(kind) + " " + proper + number : proper + number + " " + kind;
}

// The tags of business object `i`; objects below `twins` name the building `i` stands in.
struct Tags {
    std::vector<std::pair<std::string, std::string>> list;
    void add(std::string k, std::string v) { list.emplace_back(std::move(k), std::move(v)); }
};

Tags businessTags(uint64_t seed, uint32_t i, bool withAddress) {
    Random r{seed * 1000003 + i};
    Tags t;
    const auto& kind = kinds[r.below(sizeof kinds / sizeof kinds[0])];
    t.add(kind[0], kind[1]);
    const uint32_t nameKind = r.below(100);
    if (nameKind < 2) {
        // Nameless.
    } else if (nameKind < 3) {
        t.add("name", "Café Ω " + std::to_string(i));
    } else if (nameKind < 4) {
        t.add("name", "咖啡馆");
    } else {
        std::string name = std::string(r.pick(syllables)) + r.pick(syllables) + r.pick(endings);
        if (r.below(4) == 0) name = "ООО «" + name + "»";
        if (r.below(3) == 0) name += " " + std::to_string(r.below(100));
        t.add("name", name);
    }
    if (withAddress) {
        t.add("addr:street", streetName(r.below(3000)));
        t.add("addr:housenumber", std::to_string(1 + r.below(150)) + r.pick(houses));
    }
    if (r.below(3)) {
        std::string phone = "+7 812 " + std::to_string(200 + r.below(800)) + "-" + std::to_string(10 + r.below(90)) +
                            "-" + std::to_string(10 + r.below(90));
        if (r.below(4) == 0) phone += "; +7 921 " + std::to_string(1000000 + r.below(9000000));
        t.add(r.below(2) ? "phone" : "contact:phone", phone);
    }
    if (r.below(3) == 0) t.add("website", "https://www.firm" + std::to_string(i) + ".ru/");
    if (r.below(4) == 0) t.add("email", "info@firm" + std::to_string(i) + ".ru");
    if (r.below(2)) t.add("opening_hours", r.pick(hours));
    return t;
}

struct Place {
    int32_t x, y;   // 1e-7 degrees
};

Place placeOf(uint64_t seed, uint64_t id) {
    Random r{seed * 7919 + id};
    return {301000000 + static_cast<int32_t>(r.below(5000000)), 598000000 + static_cast<int32_t>(r.below(3000000))};
}

template <typename Build> void addTagged(osmium::memory::Buffer& buffer, const Tags& tags, Build build) {
    std::vector<std::pair<const char*, const char*>> pairs;
    for (const auto& [k, v] : tags.list) pairs.emplace_back(k.c_str(), v.c_str());
    build(buffer, _tags(pairs));
}

} // namespace

int main(int argc, char** argv) {
    uint64_t nodes = 10000000, firms = 1000000, seed = 1;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const bool value = i + 1 < argc;
        if (!std::strcmp(argv[i], "--nodes") && value) nodes = std::strtoull(argv[++i], nullptr, 10);
        else if (!std::strcmp(argv[i], "--firms") && value) firms = std::strtoull(argv[++i], nullptr, 10);
        else if (!std::strcmp(argv[i], "--seed") && value) seed = std::strtoull(argv[++i], nullptr, 10);
        else if (!std::strcmp(argv[i], "-o") && value) output = argv[++i];
        else output.clear(), i = argc;
    }
    const uint64_t ways = firms * 3 / 20, relations = firms / 20, points = firms - ways - relations;
    const uint64_t outlines = ways + relations;   // a building each, four corners each
    if (output.empty() || points + 4 * outlines > nodes) {
        std::fprintf(stderr, "usage: bench_osm_extract_generator [--nodes N] [--firms F] [--seed S] -o FILE.osm.pbf\n"
                             "(N at least F * 1.6)\n");
        return 2;
    }
    const uint64_t twins = outlines / 10;
    osmium::io::Writer writer{output, osmium::io::overwrite::allow};
    osmium::memory::Buffer buffer{1 << 24, osmium::memory::Buffer::auto_grow::yes};
    auto flush = [&] {
        if (buffer.committed() < (1u << 23)) return;
        writer(std::move(buffer));
        buffer = osmium::memory::Buffer{1 << 24, osmium::memory::Buffer::auto_grow::yes};
    };
    // Ids 1..points are the business points, then four corners per building, then plain nodes.
    const uint64_t cornersFrom = points + 1, plainFrom = cornersFrom + 4 * outlines;
    for (uint64_t id = 1; id <= nodes; ++id) {
        if (id < cornersFrom) {
            const uint64_t i = id - 1;
            Place p = placeOf(seed, id);
            Tags tags = businessTags(seed, static_cast<uint32_t>(i), i >= twins);
            if (i < twins) {
                // Inside building i: its name, a point of its own without an address.
                Place corner = placeOf(seed, cornersFrom + 4 * i);
                p = {corner.x + 100, corner.y + 100};
                tags = businessTags(seed, static_cast<uint32_t>(points + i), false);
            }
            addTagged(buffer, tags, [&](auto& b, auto tagAttr) {
                osmium::builder::add_node(b, _id(static_cast<int64_t>(id)), _version(1),
                                          _location(osmium::Location{p.x, p.y}), tagAttr);
            });
        } else {
            Place p = placeOf(seed, id < plainFrom ? cornersFrom + ((id - cornersFrom) & ~uint64_t{3}) : id);
            const uint64_t corner = id < plainFrom ? (id - cornersFrom) % 4 : 0;
            osmium::builder::add_node(buffer, _id(static_cast<int64_t>(id)), _version(1),
                                      _location(osmium::Location{p.x + static_cast<int32_t>(corner & 1) * 300,
                                                                 p.y + static_cast<int32_t>(corner >> 1) * 300}));
        }
        flush();
    }
    for (uint64_t w = 0; w < outlines; ++w) {
        const int64_t c = static_cast<int64_t>(cornersFrom + 4 * w);
        const std::vector<int64_t> ring = {c, c + 1, c + 3, c + 2, c};
        Tags tags;
        if (w < ways) tags = businessTags(seed, static_cast<uint32_t>(points + w), true);
        tags.add("building", "yes");
        addTagged(buffer, tags, [&](auto& b, auto tagAttr) {
            osmium::builder::add_way(b, _id(static_cast<int64_t>(w + 1)), _version(1), _nodes(ring), tagAttr);
        });
        flush();
    }
    for (uint64_t m = 0; m < relations; ++m) {
        Tags tags = businessTags(seed, static_cast<uint32_t>(points + ways + m), true);
        tags.add("type", "multipolygon");
        addTagged(buffer, tags, [&](auto& b, auto tagAttr) {
            osmium::builder::add_relation(b, _id(static_cast<int64_t>(m + 1)), _version(1),
                                          _member(osmium::item_type::way, static_cast<int64_t>(ways + m + 1), "outer"),
                                          tagAttr);
        });
        flush();
    }
    writer(std::move(buffer));
    writer.close();
    std::printf("%llu nodes, %llu ways, %llu relations; %llu business objects\n",
                static_cast<unsigned long long>(nodes), static_cast<unsigned long long>(outlines),
                static_cast<unsigned long long>(relations), static_cast<unsigned long long>(firms));
    return 0;
}
