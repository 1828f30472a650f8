#include "tools/ydb/import/extract_reader.h"

#include <algorithm>
#include <exception>
#include <utility>

#include <osmium/io/any_input.hpp>
#include <osmium/osm.hpp>

namespace {

// An id of the map and the index of the firm it belongs to.
using Owner = std::pair<int64_t, uint32_t>;

constexpr uint64_t progressEvery = 1u << 20;

template <typename Visit>
void readAll(const std::string& path, osmium::osm_entity_bits::type kinds, const char* what, ImportReport& report,
             const ReadProgress& progress, Visit visit) {
    osmium::io::Reader reader{osmium::io::File{path}, kinds};
    uint64_t count = 0;
    while (osmium::memory::Buffer buffer = reader.read()) {
        for (const osmium::OSMObject& object : buffer.select<osmium::OSMObject>()) {
            if (!(osmium::osm_entity_bits::from_item_type(object.type()) & kinds)) continue;
            visit(object);
            if (++count % progressEvery == 0 && progress) progress(what, count);
        }
    }
    reader.close();
    report.objectsRead += count;
    if (progress) progress(what, count);
}

// The firm an object is, appended to `firms`; its index, or none.
bool takeFirm(const osmium::OSMObject& object, const TagTable& table, FirmList& firms,
              ImportReport& report) {
    const osmium::TagList& tags = object.tags();
    if (tags.empty()) return false;
    std::optional<ImportedFirm> firm =
        firmFromTags(table, [&tags](const char* key) { return tags.get_value_by_key(key); }, report);
    if (!firm) return false;
    firms.push_back(std::move(*firm));
    return true;
}

std::pair<std::vector<Owner>::const_iterator, std::vector<Owner>::const_iterator> ownersOf(
    const std::vector<Owner>& owners, int64_t id) {
    return std::equal_range(owners.begin(), owners.end(), Owner{id, 0},
                            [](const Owner& a, const Owner& b) { return a.first < b.first; });
}

} // namespace

bool isExtractName(const std::string& path) {
    try {
        return osmium::io::File{path}.format() != osmium::io::file_format::unknown;
    } catch (const std::exception&) {
        return false;
    }
}

bool readExtract(const std::string& path, const TagTable& table, FirmList& firms,
                 ImportReport& report, std::string& error, const ReadProgress& progress) {
    try {
        std::vector<Owner> wayOwners;   // the ways of firms mapped as multipolygons
        readAll(path, osmium::osm_entity_bits::relation, "relations", report, progress, [&](const osmium::OSMObject& o) {
            const auto& relation = static_cast<const osmium::Relation&>(o);
            const char* type = relation.tags().get_value_by_key("type");
            if (!type || std::string_view(type) != "multipolygon") return;
            if (!takeFirm(relation, table, firms, report)) return;
            for (const osmium::RelationMember& m : relation.members())
                if (m.type() == osmium::item_type::way) wayOwners.emplace_back(m.ref(), firms.size() - 1);
        });
        std::sort(wayOwners.begin(), wayOwners.end());

        std::vector<Owner> nodeOwners;   // the nodes of firms' ways and of their multipolygons' ways
        readAll(path, osmium::osm_entity_bits::way, "ways", report, progress, [&](const osmium::OSMObject& o) {
            const auto& way = static_cast<const osmium::Way&>(o);
            auto addNodes = [&](uint32_t owner) {
                for (const osmium::NodeRef& n : way.nodes()) nodeOwners.emplace_back(n.ref(), owner);
            };
            if (takeFirm(way, table, firms, report)) addNodes(static_cast<uint32_t>(firms.size() - 1));
            for (auto [it, end] = ownersOf(wayOwners, way.id()); it != end; ++it) addNodes(it->second);
        });
        wayOwners = {};
        std::sort(nodeOwners.begin(), nodeOwners.end());
        nodeOwners.erase(std::unique(nodeOwners.begin(), nodeOwners.end()), nodeOwners.end());

        readAll(path, osmium::osm_entity_bits::node, "nodes", report, progress, [&](const osmium::OSMObject& o) {
            const auto& node = static_cast<const osmium::Node&>(o);
            const osmium::Location at = node.location();
            if (takeFirm(node, table, firms, report) && at.valid()) firms.back().box.add(at.x(), at.y());
            if (!at.valid()) return;
            for (auto [it, end] = ownersOf(nodeOwners, node.id()); it != end; ++it)
                firms[it->second].box.add(at.x(), at.y());
        });
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}
