#include "platform/ui/mouse_points.h"

#include "win32.h"
#include "win32/controls.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int quarter = 4;
constexpr int maximumSamplesPerMove = 16;
constexpr size_t trailCapacity = 1024;

// The samples not yet handed out, and the last point recorded.
struct StylusTrail {
    std::vector<POINT> pending;
    POINT last{};
    bool down = false;
};

StylusTrail& trail()
{
    static StylusTrail instance;
    return instance;
}

void addSample(StylusTrail& t, int x, int y)
{
    if (t.pending.size() >= trailCapacity)
        t.pending.erase(t.pending.begin());
    t.pending.push_back(POINT{x * quarter, y * quarter});
}

}  // namespace

namespace emu {

void recordStylus(StylusPhase phase, int x, int y)
{
    StylusTrail& t = trail();
    if (phase == StylusPhase::down) {
        t.pending.clear();
        addSample(t, x, y);
        t.down = true;
    } else {
        int steps = std::clamp(std::max(std::abs(x - t.last.x), std::abs(y - t.last.y)), 1, maximumSamplesPerMove);
        for (int i = 1; i <= steps; ++i)
            addSample(t, t.last.x + (x - t.last.x) * i / steps, t.last.y + (y - t.last.y) * i / steps);
        if (phase == StylusPhase::up)
            t.down = false;
    }
    t.last = POINT{x, y};
}

void clearStylusTrail()
{
    trail() = StylusTrail{};
}

}  // namespace emu

BOOL WINAPI GetMouseMovePoints(PPOINT pptBuf, UINT nBufPoints, UINT* pnPointsRetrieved)
{
    if (pptBuf == nullptr || pnPointsRetrieved == nullptr || nBufPoints == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    StylusTrail& t = trail();
    if (t.pending.empty()) {
        // Nothing recorded since the last call: the point of the message being handled.
        DWORD position = GetMessagePos();
        pptBuf[0] = POINT{static_cast<SHORT>(LOWORD(position)) * quarter, static_cast<SHORT>(HIWORD(position)) * quarter};
        *pnPointsRetrieved = 1;
        return TRUE;
    }
    // The most recent samples when there are more than the buffer holds.
    size_t count = std::min<size_t>(nBufPoints, t.pending.size());
    std::copy(t.pending.end() - static_cast<std::ptrdiff_t>(count), t.pending.end(), pptBuf);
    *pnPointsRetrieved = static_cast<UINT>(count);
    t.pending.clear();
    return TRUE;
}
