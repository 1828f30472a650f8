#include "platform/ui/dialog_templates.h"

#include <cstring>
#include <string>

namespace ui {

namespace {

std::u16string numberName(WORD id)
{
    std::string digits = std::to_string(id);
    return u"#" + std::u16string(digits.begin(), digits.end());
}

std::u16string predefinedClass(WORD atom)
{
    switch (atom) {
    case DIALOG_CLASS_BUTTON:
        return u"BUTTON";
    case DIALOG_CLASS_EDIT:
        return u"EDIT";
    case DIALOG_CLASS_STATIC:
        return u"STATIC";
    case DIALOG_CLASS_LISTBOX:
        return u"LISTBOX";
    case DIALOG_CLASS_SCROLLBAR:
        return u"SCROLLBAR";
    case DIALOG_CLASS_COMBOBOX:
        return u"COMBOBOX";
    default:
        return numberName(atom);
    }
}

// Reads the binary form; every read is checked against the end of the data.
class Reader {
public:
    Reader(const void* data, size_t size) : bytes_(static_cast<const uint8_t*>(data)), size_(size) {}

    bool ok() const { return ok_; }

    template <typename T>
    T read()
    {
        T value{};
        if (!ok_ || at_ + sizeof(T) > size_) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, bytes_ + at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }

    std::u16string string()
    {
        std::u16string text;
        for (;;) {
            const auto c = read<char16_t>();
            if (!ok_ || c == 0)
                return text;
            text.push_back(c);
        }
    }

    // A name or an ordinal: 0 (none), 0xFFFF and a number, or a string.
    bool nameOrOrdinal(std::u16string& text, WORD& ordinal)
    {
        const auto first = read<WORD>();
        ordinal = 0;
        text.clear();
        if (first == 0)
            return false;
        if (first == 0xFFFF) {
            ordinal = read<WORD>();
            return true;
        }
        text.push_back(static_cast<char16_t>(first));
        text += string();
        return true;
    }

    void alignTo4()
    {
        at_ = (at_ + 3) & ~static_cast<size_t>(3);
        if (at_ > size_)
            ok_ = false;
    }

    void skip(size_t n)
    {
        if (at_ + n > size_)
            ok_ = false;
        else
            at_ += n;
    }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

} // namespace

std::optional<DialogLayout> layoutFromTemplate(const DialogTemplate& t)
{
    if (t.signature != DIALOG_TEMPLATE_SIGNATURE || (t.itemCount > 0 && t.items == nullptr))
        return std::nullopt;
    DialogLayout layout;
    layout.style = t.style;
    layout.exStyle = t.exStyle;
    layout.x = t.x;
    layout.y = t.y;
    layout.cx = t.cx;
    layout.cy = t.cy;
    layout.caption = t.caption ? t.caption : u"";
    layout.className = t.className ? t.className : u"";
    layout.pointSize = t.pointSize;
    layout.faceName = t.faceName ? t.faceName : u"";
    for (WORD i = 0; i < t.itemCount; ++i) {
        const DialogItemTemplate& it = t.items[i];
        DialogItem item;
        if (it.className == nullptr)
            return std::nullopt;
        item.className = IS_INTRESOURCE(it.className)
                             ? predefinedClass(static_cast<WORD>(reinterpret_cast<uintptr_t>(it.className)))
                             : std::u16string(it.className);
        item.hasText = it.text != nullptr;
        item.text = it.text ? it.text : u"";
        item.id = it.id;
        item.style = it.style;
        item.exStyle = it.exStyle;
        item.x = it.x;
        item.y = it.y;
        item.cx = it.cx;
        item.cy = it.cy;
        layout.items.push_back(std::move(item));
    }
    return layout;
}

std::optional<DialogLayout> layoutFromResource(const void* data, size_t size)
{
    if (data == nullptr)
        return std::nullopt;
    if (size >= sizeof(DialogTemplate)) {
        DWORD signature;
        std::memcpy(&signature, data, sizeof signature);
        if (signature == DIALOG_TEMPLATE_SIGNATURE)
            return layoutFromTemplate(*static_cast<const DialogTemplate*>(data));
    }
    Reader in(data, size);
    DialogLayout layout;
    const auto version = in.read<WORD>();
    const auto marker = in.read<WORD>();
    const bool extended = version == 1 && marker == 0xFFFF;
    Reader fresh(data, size);
    if (!extended)
        in = fresh;
    WORD count = 0;
    if (extended) {
        in.read<DWORD>();  // help id
        layout.exStyle = in.read<DWORD>();
        layout.style = in.read<DWORD>();
    } else {
        layout.style = in.read<DWORD>();
        layout.exStyle = in.read<DWORD>();
    }
    count = in.read<WORD>();
    layout.x = in.read<short>();
    layout.y = in.read<short>();
    layout.cx = in.read<short>();
    layout.cy = in.read<short>();
    std::u16string text;
    WORD ordinal = 0;
    in.nameOrOrdinal(text, ordinal);  // the menu: the device's dialogs have none
    if (in.nameOrOrdinal(text, ordinal))
        layout.className = ordinal ? predefinedClass(ordinal) : text;
    layout.caption = in.string();
    if (layout.style & DS_SETFONT) {
        layout.pointSize = in.read<WORD>();
        if (extended) {
            in.read<WORD>();  // weight
            in.read<BYTE>();  // italic
            in.read<BYTE>();  // character set
        }
        layout.faceName = in.string();
    }
    for (WORD i = 0; i < count && in.ok(); ++i) {
        in.alignTo4();
        DialogItem item;
        if (extended) {
            in.read<DWORD>();  // help id
            item.exStyle = in.read<DWORD>();
            item.style = in.read<DWORD>();
        } else {
            item.style = in.read<DWORD>();
            item.exStyle = in.read<DWORD>();
        }
        item.x = in.read<short>();
        item.y = in.read<short>();
        item.cx = in.read<short>();
        item.cy = in.read<short>();
        item.id = extended ? static_cast<int>(in.read<DWORD>()) : in.read<WORD>();
        if (!in.nameOrOrdinal(text, ordinal))
            return std::nullopt;
        item.className = ordinal ? predefinedClass(ordinal) : text;
        item.hasText = in.nameOrOrdinal(text, ordinal);
        item.text = ordinal ? numberName(ordinal) : text;
        const auto extra = in.read<WORD>();
        in.skip(extra);
        layout.items.push_back(std::move(item));
    }
    if (!in.ok())
        return std::nullopt;
    return layout;
}

} // namespace ui
