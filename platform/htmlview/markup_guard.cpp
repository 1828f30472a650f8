#include "platform/htmlview/markup_guard.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace htmlview {

namespace {

constexpr size_t maxAttributes = 32;
constexpr size_t maxAttributeValue = 4096;

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isVoid(std::string_view n)
{
    return isOneOf(n, {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "img", "input",
                       "keygen", "link", "meta", "param", "source", "track", "wbr", "image"});
}

bool isHeading(std::string_view n)
{
    return n.size() == 2 && n[0] == 'h' && n[1] >= '1' && n[1] <= '6';
}

// Elements whose end tag an unrelated end tag cannot reach past.
bool isSpecial(std::string_view n)
{
    return isHeading(n) ||
           isOneOf(n, {"address", "applet", "article", "aside", "blockquote", "body", "button", "caption", "center",
                       "colgroup", "dd", "details", "dir", "div", "dl", "dt", "fieldset", "figcaption", "figure",
                       "footer", "form", "frameset", "head", "header", "hgroup", "html", "iframe", "li", "listing",
                       "main", "marquee", "menu", "nav", "noembed", "noframes", "noscript", "object", "ol", "p",
                       "pre", "section", "select", "summary", "table", "tbody", "td", "template", "textarea",
                       "tfoot", "th", "thead", "tr", "ul", "xmp"});
}

bool isTablePart(std::string_view n)
{
    return isOneOf(n, {"table", "tbody", "thead", "tfoot", "tr", "td", "th", "caption", "col", "colgroup"});
}

bool isScopeBoundary(std::string_view n)
{
    return isOneOf(n, {"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template"});
}

// Start tags that end an open paragraph.
bool closesParagraph(std::string_view n)
{
    return isHeading(n) ||
           isOneOf(n, {"address", "article", "aside", "blockquote", "center", "details", "dialog", "dir", "div",
                       "dl", "fieldset", "figcaption", "figure", "footer", "form", "header", "hgroup", "hr",
                       "listing", "main", "menu", "nav", "ol", "p", "pre", "section", "summary", "ul", "li", "dd",
                       "dt"});
}

// End tags that close everything above their element when it is in scope.
bool isScopedEnd(std::string_view n)
{
    return isHeading(n) ||
           isOneOf(n, {"address", "article", "aside", "blockquote", "center", "details", "dialog", "dir", "div",
                       "dl", "fieldset", "figcaption", "figure", "footer", "header", "hgroup", "listing", "main",
                       "menu", "nav", "ol", "pre", "section", "summary", "ul", "form", "p", "li", "dd", "dt",
                       "table", "tbody", "thead", "tfoot", "tr", "td", "th", "caption", "body", "html", "button",
                       "select", "applet", "marquee", "object", "template"});
}

struct Attribute {
    std::string name;
    std::string value;
    bool hasValue = false;
};

struct Tag {
    std::string name;
    std::vector<Attribute> attributes;
    bool end = false;
    bool selfClosing = false;
    bool valid = true;
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool nameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':' || c == '.';
}

class Guard {
public:
    Guard(std::string_view html, bool keepStyles) : in_(html), keepStyles_(keepStyles) {}

    std::string run()
    {
        out_.reserve(in_.size() + in_.size() / 8);
        while (at_ < in_.size()) {
            char c = in_[at_];
            if (c != '<') {
                text(c);
                ++at_;
                continue;
            }
            std::string_view rest = in_.substr(at_);
            if (rest.substr(0, 4) == "<!--") {
                skipComment();
            } else if (rest.size() >= 2 && (rest[1] == '!' || rest[1] == '?')) {
                skipPast('>');
            } else if (rest.size() >= 3 && rest[1] == '/' && isLetter(rest[2])) {
                Tag tag = readTag(2);
                tag.end = true;
                if (tag.valid)
                    endTag(tag.name);
            } else if (rest.size() >= 2 && rest[1] == '/') {
                // "</>" is nothing; "</ x" is a bogus comment up to '>'.
                skipPast('>');
            } else if (rest.size() >= 2 && isLetter(rest[1])) {
                Tag tag = readTag(1);
                if (tag.valid)
                    startTag(tag);
            } else {
                text('<');
                ++at_;
            }
        }
        while (!open_.empty())
            pop();
        return std::move(out_);
    }

private:
    void text(char c)
    {
        if (c == '<')
            out_ += "&lt;";
        else
            out_ += c;
    }

    void skipComment()
    {
        size_t from = at_ + 4;
        // "<!-->" and "<!--->" are whole comments.
        if (in_.substr(from, 1) == ">") {
            at_ = from + 1;
            return;
        }
        if (in_.substr(from, 2) == "->") {
            at_ = from + 2;
            return;
        }
        size_t end = in_.find("--", from);
        while (end != std::string_view::npos) {
            if (in_.substr(end + 2, 1) == ">") {
                at_ = end + 3;
                return;
            }
            if (in_.substr(end + 2, 2) == "!>") {
                at_ = end + 4;
                return;
            }
            end = in_.find("--", end + 1);
        }
        at_ = in_.size();
    }

    void skipPast(char c)
    {
        size_t end = in_.find(c, at_ + 1);
        at_ = end == std::string_view::npos ? in_.size() : end + 1;
    }

    // Reads a tag whose name begins at at_ + offset. A tag cut off by the end of the page is
    // dropped, as the parser drops it.
    Tag readTag(size_t offset)
    {
        Tag tag;
        size_t p = at_ + offset;
        while (p < in_.size() && !isSpace(in_[p]) && in_[p] != '/' && in_[p] != '>') {
            char c = lower(in_[p++]);
            if (!nameCharacter(c))
                tag.valid = false;
            tag.name += c;
        }
        for (;;) {
            while (p < in_.size() && (isSpace(in_[p]) || in_[p] == '/')) {
                if (in_[p] == '/' && p + 1 < in_.size() && in_[p + 1] == '>')
                    tag.selfClosing = true;
                ++p;
            }
            if (p >= in_.size()) {
                tag.valid = false;
                at_ = in_.size();
                return tag;
            }
            if (in_[p] == '>') {
                at_ = p + 1;
                return tag;
            }
            Attribute attribute;
            do
                attribute.name += lower(in_[p++]);
            while (p < in_.size() && !isSpace(in_[p]) && in_[p] != '/' && in_[p] != '>' && in_[p] != '=');
            while (p < in_.size() && isSpace(in_[p]))
                ++p;
            if (p < in_.size() && in_[p] == '=') {
                ++p;
                attribute.hasValue = true;
                while (p < in_.size() && isSpace(in_[p]))
                    ++p;
                if (p < in_.size() && (in_[p] == '"' || in_[p] == '\'')) {
                    char quote = in_[p++];
                    size_t end = in_.find(quote, p);
                    if (end == std::string_view::npos) {
                        tag.valid = false;
                        at_ = in_.size();
                        return tag;
                    }
                    attribute.value = std::string(in_.substr(p, end - p));
                    p = end + 1;
                } else {
                    while (p < in_.size() && !isSpace(in_[p]) && in_[p] != '>')
                        attribute.value += in_[p++];
                }
            }
            bool usable = std::all_of(attribute.name.begin(), attribute.name.end(), nameCharacter);
            if (usable && tag.attributes.size() < maxAttributes)
                tag.attributes.push_back(std::move(attribute));
        }
    }

    void emitStart(const Tag& tag)
    {
        out_ += '<';
        out_ += tag.name;
        for (const Attribute& a : tag.attributes) {
            if (!keepStyles_ && a.name == "style")
                continue;
            out_ += ' ';
            out_ += a.name;
            // A span without a value reads as 0 in the layout engine, which then looks at the
            // column before the first: it always gets one.
            const bool span = a.name == "colspan" || a.name == "rowspan";
            if (!a.hasValue && !span)
                continue;
            const std::string value = span ? clampSpan(a.value) : a.value.substr(0, maxAttributeValue);
            out_ += "=\"";
            for (char c : value) {
                if (c == '"')
                    out_ += "&quot;";
                else
                    out_ += c;
            }
            out_ += '"';
        }
        out_ += '>';
    }

    static std::string clampSpan(const std::string& value)
    {
        long long span = 0;
        for (char c : value) {
            if (c < '0' || c > '9')
                break;
            span = std::min<long long>(span * 10 + (c - '0'), maxSpan);
        }
        return std::to_string(std::clamp<long long>(span, 1, maxSpan));
    }

    void pop()
    {
        out_ += "</";
        out_ += open_.back();
        out_ += '>';
        open_.pop_back();
    }

    void popThrough(size_t index)
    {
        while (open_.size() > index)
            pop();
    }

    // Index of the nearest open element accepted by `match`, searching from the top and giving
    // up at an element accepted by `stop`; -1 when there is none.
    template <typename Match, typename Stop> long find(Match match, Stop stop) const
    {
        for (size_t i = open_.size(); i-- > 0;) {
            if (match(open_[i]))
                return static_cast<long>(i);
            if (stop(open_[i]))
                return -1;
        }
        return -1;
    }

    void closeImplied(const std::string& name)
    {
        if (closesParagraph(name)) {
            long p = find([](const std::string& n) { return n == "p"; },
                          [](const std::string& n) { return isScopeBoundary(n) || n == "button"; });
            if (p >= 0)
                popThrough(static_cast<size_t>(p));
        }
        if (isHeading(name) && !open_.empty() && isHeading(open_.back()))
            pop();
        if (name == "li" || name == "dt" || name == "dd") {
            auto same = [&](const std::string& n) {
                return name == "li" ? n == "li" : (n == "dt" || n == "dd");
            };
            auto stop = [](const std::string& n) {
                return isSpecial(n) && n != "address" && n != "div" && n != "p";
            };
            long item = find(same, stop);
            if (item >= 0)
                popThrough(static_cast<size_t>(item));
        }
        if (name == "td" || name == "th" || name == "tr") {
            long cell = find([](const std::string& n) { return n == "td" || n == "th"; },
                             [](const std::string& n) { return n == "table"; });
            if (cell >= 0)
                popThrough(static_cast<size_t>(cell));
        }
        if (name == "tr") {
            long row = find([](const std::string& n) { return n == "tr"; },
                            [](const std::string& n) { return n == "table"; });
            if (row >= 0)
                popThrough(static_cast<size_t>(row));
        }
        if (name == "option" && !open_.empty() && open_.back() == "option")
            pop();
    }

    void startTag(const Tag& tag)
    {
        const std::string& name = tag.name;
        if (name == "script" || name == "svg" || name == "math") {
            // Nothing of them is shown: skip to their end tag.
            skipRawText(name, false);
            return;
        }
        if (!keepStyles_ && name == "link")
            return;
        if (!keepStyles_ && name == "style") {
            skipRawText(name, false);
            return;
        }
        if (isTablePart(name) && tableTooDeep(name))
            return;
        bool raw = name == "style" || name == "title" || name == "textarea" || name == "xmp" ||
                   name == "iframe" || name == "noembed" || name == "noframes";
        if (elements_ >= maxElements) {
            if (raw)
                skipRawText(name, false);
            return;
        }
        closeImplied(name);
        if (isVoid(name)) {
            ++elements_;
            emitStart(tag);
            return;
        }
        if (open_.size() >= maxNesting) {
            if (raw)
                skipRawText(name, false);
            return;
        }
        ++elements_;
        emitStart(tag);
        if (name == "plaintext") {
            while (at_ < in_.size())
                text(in_[at_++]);
            out_ += "</plaintext>";
            return;
        }
        if (raw) {
            skipRawText(name, true);
            out_ += "</" + name + ">";
            return;
        }
        open_.push_back(name);
    }

    // Moves past the text of an element whose content is not markup, up to and past its end tag
    // (or to the end of the page); with `keep`, the text goes out escaped.
    void skipRawText(const std::string& name, bool keep)
    {
        size_t p = at_;
        while (p < in_.size()) {
            size_t lt = in_.find("</", p);
            if (lt == std::string_view::npos)
                break;
            bool same = lt + 2 + name.size() <= in_.size();
            for (size_t i = 0; same && i < name.size(); ++i)
                same = lower(in_[lt + 2 + i]) == name[i];
            size_t after = lt + 2 + name.size();
            if (same && (after >= in_.size() || isSpace(in_[after]) || in_[after] == '/' || in_[after] == '>')) {
                if (keep)
                    keepRaw(in_.substr(at_, lt - at_), name == "style");
                size_t close = in_.find('>', after);
                at_ = close == std::string_view::npos ? in_.size() : close + 1;
                return;
            }
            p = lt + 2;
        }
        if (keep)
            keepRaw(in_.substr(at_), name == "style");
        at_ = in_.size();
    }

    void keepRaw(std::string_view raw, bool style)
    {
        // A style sheet is read as it is (it cannot contain its own end tag, which ended it);
        // other raw text goes out escaped.
        for (char c : raw) {
            if (style)
                out_ += c;
            else
                text(c);
        }
    }

    // Table parts inside a table that was too deep to let through are dropped with it.
    bool tableTooDeep(const std::string& name)
    {
        if (name == "table" &&
            std::count(open_.begin(), open_.end(), std::string("table")) >= static_cast<long>(maxTableNesting))
            ++droppedTables_;
        return droppedTables_ > 0;
    }

    void endTag(const std::string& name)
    {
        if (droppedTables_ > 0 && isTablePart(name)) {
            if (name == "table")
                --droppedTables_;
            return;
        }
        if (isScopedEnd(name)) {
            auto match = [&](const std::string& n) { return isHeading(name) ? isHeading(n) : n == name; };
            bool tablepart = isOneOf(name, {"table", "tbody", "thead", "tfoot", "tr", "td", "th", "caption"});
            auto stop = [&](const std::string& n) {
                if (tablePartStop(name, n))
                    return true;
                if (tablepart)
                    return false;
                if (name == "li" && (n == "ol" || n == "ul"))
                    return true;
                if (name == "p" && n == "button")
                    return true;
                return isScopeBoundary(n);
            };
            long index = find(match, stop);
            if (index >= 0)
                popThrough(static_cast<size_t>(index));
            else if (name == "p" && open_.size() < maxNesting && elements_ < maxElements) {
                // A stray "</p>" still breaks the paragraph.
                ++elements_;
                out_ += "<p></p>";
            }
            return;
        }
        long index = find([&](const std::string& n) { return n == name; },
                          [](const std::string& n) { return isSpecial(n); });
        if (index >= 0)
            popThrough(static_cast<size_t>(index));
    }

    static bool tablePartStop(const std::string& name, const std::string& n)
    {
        if (name == "td" || name == "th" || name == "tr" || name == "tbody" || name == "thead" ||
            name == "tfoot" || name == "caption")
            return n == "table" || n == "html" || n == "template";
        if (name == "table")
            return n == "html" || n == "template";
        return false;
    }

    std::string_view in_;
    size_t at_ = 0;
    std::string out_;
    std::vector<std::string> open_;
    size_t elements_ = 0;
    bool keepStyles_ = true;
    size_t droppedTables_ = 0;
};

} // namespace

std::string guardMarkup(std::string_view html, bool keepStyles)
{
    return Guard(html, keepStyles).run();
}

} // namespace htmlview
