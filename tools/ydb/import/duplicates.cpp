#include "tools/ydb/import/duplicates.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>

namespace {

constexpr size_t maxNeighbours = 1000;

struct Sets {
    std::vector<uint32_t> parent;
    explicit Sets(size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0u); }
    uint32_t root(uint32_t i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    }
    // The smaller index stays the root, so the first object of a firm keeps its fields.
    void join(uint32_t a, uint32_t b) {
        a = root(a), b = root(b);
        if (a != b) parent[std::max(a, b)] = std::min(a, b);
    }
};

// How far apart two boxes are along the axis where they are farthest apart; 0 when they overlap.
int64_t gap(const MapBox& a, const MapBox& b) {
    auto along = [](int64_t lo1, int64_t hi1, int64_t lo2, int64_t hi2) {
        return std::max<int64_t>({0, lo2 - hi1, lo1 - hi2});
    };
    return std::max(along(a.minX, a.maxX, b.minX, b.maxX), along(a.minY, a.maxY, b.minY, b.maxY));
}

// One name's objects are one firm when they have the same address, or lie near each other without
// addresses. An object without an address joins the nearest one with an address, not every one
// around it, and joins others without addresses only when neither has one with an address near:
// two branches in neighbouring houses, each mapped as a point and a building, stay two firms.
// Objects are swept in the order of their western edge, so a large set costs what its near pairs
// cost.
void joinGroup(const FirmList& firms, std::vector<uint32_t>& group, Sets& sets) {
    std::unordered_map<std::string, uint32_t> byAddress;
    for (uint32_t i : group) {
        const ImportedFirm& f = firms[i];
        if (f.street.empty()) continue;
        std::string key = f.street + '\0' + std::to_string(f.house) + '\0' + f.houseSuffix;
        auto [it, fresh] = byAddress.emplace(std::move(key), i);
        if (!fresh) sets.join(it->second, i);
    }
    std::erase_if(group, [&](uint32_t i) { return firms[i].box.empty(); });
    std::sort(group.begin(), group.end(), [&](uint32_t a, uint32_t b) {
        return firms[a].box.minX != firms[b].box.minX ? firms[a].box.minX < firms[b].box.minX : a < b;
    });
    struct Partner {
        uint32_t index = UINT32_MAX;
        int64_t gap = INT64_MAX;
    };
    std::unordered_map<uint32_t, Partner> nearestAddressed;
    auto offer = [&](uint32_t loose, uint32_t addressed, int64_t g) {
        Partner& p = nearestAddressed[loose];
        if (g < p.gap || (g == p.gap && addressed < p.index)) p = {addressed, g};
    };
    // A hostile extract may put a million objects of one name on one spot; near pairs beyond
    // this many neighbours are joined through the ones between them anyway.
    auto eachNearPair = [&](auto visit) {
        for (size_t x = 0; x < group.size(); ++x) {
            const ImportedFirm& a = firms[group[x]];
            const size_t last = std::min(group.size(), x + 1 + maxNeighbours);
            for (size_t y = x + 1; y < last; ++y) {
                const ImportedFirm& b = firms[group[y]];
                if (int64_t{b.box.minX} > int64_t{a.box.maxX} + sameFirmDistance) break;
                if (a.box.near(b.box, sameFirmDistance)) visit(group[x], group[y]);
            }
        }
    };
    eachNearPair([&](uint32_t a, uint32_t b) {
        const bool aLoose = firms[a].street.empty(), bLoose = firms[b].street.empty();
        if (aLoose && !bLoose) offer(a, b, gap(firms[a].box, firms[b].box));
        if (bLoose && !aLoose) offer(b, a, gap(firms[a].box, firms[b].box));
    });
    for (const auto& [loose, partner] : nearestAddressed) sets.join(loose, partner.index);
    eachNearPair([&](uint32_t a, uint32_t b) {
        if (firms[a].street.empty() && firms[b].street.empty() && !nearestAddressed.count(a) &&
            !nearestAddressed.count(b))
            sets.join(a, b);
    });
}

} // namespace

uint64_t mergeDuplicates(FirmList& firms) {
    std::vector<uint32_t> order(firms.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return firms[a].nameKey != firms[b].nameKey ? firms[a].nameKey < firms[b].nameKey : a < b;
    });
    Sets sets(firms.size());
    std::vector<uint32_t> group;
    for (size_t start = 0; start < order.size();) {
        size_t end = start + 1;
        while (end < order.size() && firms[order[end]].nameKey == firms[order[start]].nameKey) ++end;
        if (end - start > 1) {
            group.assign(order.begin() + static_cast<std::ptrdiff_t>(start), order.begin() + static_cast<std::ptrdiff_t>(end));
            joinGroup(firms, group, sets);
        }
        start = end;
    }
    uint64_t merged = 0;
    for (uint32_t i = 0; i < firms.size(); ++i) {
        uint32_t r = sets.root(i);
        if (r == i) continue;
        mergeFirm(firms[r], std::move(firms[i]));
        ++merged;
    }
    size_t kept = 0;
    for (uint32_t i = 0; i < firms.size(); ++i)
        if (sets.root(i) == i) {
            if (kept != i) firms[kept] = std::move(firms[i]);
            ++kept;
        }
    firms.resize(kept);
    return merged;
}
