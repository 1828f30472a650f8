#include "platform/gdi/faces.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <cctype>
#include <filesystem>

namespace gdi {

namespace {

DeviceLook currentLook = DeviceLook::handheld;

// Where Debian's fonts-wine puts its faces: fontconfig does not index that folder by default.
constexpr const char* wineFontFolder = "/usr/share/wine/fonts/";

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool sameName(std::u16string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] > 0x7F)
            return false;
        if (std::tolower(static_cast<int>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool familyIs(FcPattern* pattern, std::string_view family)
{
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (sameName(reinterpret_cast<const char*>(name), family))
            return true;
    return false;
}

// The file fontconfig gives for `pattern`, only if it really is of `family` (fontconfig always
// answers with something, often another family).
std::string matchFile(const char* pattern, std::string_view family)
{
    std::string path;
    FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (wanted == nullptr)
        return path;
    FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, wanted, &result);
    FcChar8* file = nullptr;
    if (match != nullptr && (family.empty() || familyIs(match, family)) &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    if (match != nullptr)
        FcPatternDestroy(match);
    FcPatternDestroy(wanted);
    return path;
}

// A file named directly, if it exists and holds `family`.
std::string checkedFile(const std::string& path, std::string_view family)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    int count = 0;
    FcPattern* query = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
    if (query == nullptr)
        return {};
    const bool right = familyIs(query, family);
    FcPatternDestroy(query);
    return right ? path : std::string();
}

bool onlyFallback = false;

struct FaceTable {
    // [family][style]
    std::array<std::array<FaceFile, styleCount>, familyCount> files;
    std::array<FaceFile, styleCount> fallback;

    FaceTable()
    {
        FcInit();
        const char* dejaVu[styleCount] = {"DejaVu Sans:style=Book", "DejaVu Sans:style=Bold",
                                          "DejaVu Sans:style=Oblique", "DejaVu Sans:style=Bold Oblique"};
        // Tahoma has no oblique: its upright faces are slanted, as the reference does.
        const char* tahoma[2] = {"Tahoma:style=Regular", "Tahoma:style=Bold"};
        const char* tahomaFiles[2] = {"tahoma.ttf", "tahomabd.ttf"};
        const char* liberation[styleCount] = {"Liberation Sans:style=Regular", "Liberation Sans:style=Bold",
                                              "Liberation Sans:style=Italic", "Liberation Sans:style=Bold Italic"};
        for (int s = 0; s < styleCount; ++s)
            fallback[static_cast<size_t>(s)].path = matchFile(dejaVu[s], "");
        for (int s = 0; s < styleCount; ++s) {
            const size_t i = static_cast<size_t>(s);
            FaceFile& t = at(Family::tahoma, i);
            const int upright = s % 2;
            t.path = matchFile(tahoma[upright], "Tahoma");
            if (t.path.empty())
                t.path = checkedFile(std::string(wineFontFolder) + tahomaFiles[upright], "Tahoma");
            t.slanted = s >= 2 && !t.path.empty();
            if (t.path.empty())
                t = fallback[i];
            FaceFile& a = at(Family::arialMetric, i);
            a.path = matchFile(liberation[s], "Liberation Sans");
            if (a.path.empty())
                a = fallback[i];
        }
    }

    FaceFile& at(Family family, size_t style) { return files[static_cast<size_t>(family)][style]; }
};

const FaceTable& faceTable()
{
    static const FaceTable table;
    return table;
}

} // namespace

void setDeviceLook(DeviceLook look) { currentLook = look; }

DeviceLook deviceLook() { return currentLook; }

Family familyFor(std::u16string_view faceName, DeviceLook look)
{
    // The device carries one face: whatever a program names, it gets Tahoma.
    if (look == DeviceLook::handheld)
        return Family::tahoma;
    for (const char* dialogFace : {"Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "System", "MS Sans Serif"})
        if (sameName(faceName, dialogFace))
            return Family::tahoma;
    return Family::arialMetric;
}

void useFallbackFaceOnly() { onlyFallback = true; }

FaceFile faceFile(Family family, int style)
{
    if (style < 0 || style >= styleCount)
        style = 0;
    const size_t index = static_cast<size_t>(style);
    return onlyFallback ? faceTable().fallback[index] : faceTable().files[static_cast<size_t>(family)][index];
}

} // namespace gdi
