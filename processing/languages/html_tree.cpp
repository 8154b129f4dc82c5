#include "processing/languages/html_tree.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "processing/languages/lex_scan.h"

namespace {

constexpr size_t kNone = std::string_view::npos;
// Elements nested deeper, and formatting elements beyond these, are not kept track of: hostile
// input cannot make the walks along them slow.
constexpr size_t kMaxOpen = 256;
constexpr size_t kMaxFormatting = 64;

constexpr auto IsOneOf = lex_scan::IsOneOfNoCase;

// What HTML's tree construction does with an HTML element, by its name.
enum : unsigned {
    kBreaksOut = 1,       // its start tag ends the SVG or MathML content it stands in
    kFormatting = 2,      // one of the formatting elements, opened again when closed by accident
    kVoid = 4,            // it has no end tag
    kClosesP = 8,         // its start tag closes an open `<p>`
    kNoReconstruct = 16,  // its start tag opens no formatting element again
    kSpecial = 32,        // HTML's "special" category: end tags of others stop at it
    kScope = 64,          // it bounds the scope in which end tags look for their element
    kButton = 128,        // it bounds the scope of `<p>` too
    kPre = 256,           // its text keeps its white space
    kIgnored = 512,       // `<html>`, `<head>`, `<body>`: never open here
    kA = 1024,            // `<a>`, which closes an open one
    kP = 2048,            // `<p>`
    kBr = 4096,           // `<br>`, whose end tag ends SVG and MathML as `</p>` does
    kSvg = 8192,          // `<svg>` and `<math>`, which open SVG and MathML
    kMath = 16384,
};

struct NameFlags {
    std::string_view name;
    unsigned flags;
};

constexpr unsigned kBlock = kClosesP | kNoReconstruct | kSpecial;

constexpr NameFlags kHtmlNames[] = {
    {"a", kFormatting | kA},
    {"address", kBlock},
    {"applet", kSpecial | kScope},
    {"area", kVoid | kSpecial},
    {"article", kBlock},
    {"aside", kBlock},
    {"b", kBreaksOut | kFormatting},
    {"base", kVoid | kSpecial | kNoReconstruct},
    {"basefont", kVoid | kSpecial},
    {"bgsound", kVoid | kSpecial},
    {"big", kBreaksOut | kFormatting},
    {"blockquote", kBreaksOut | kBlock},
    {"body", kBreaksOut | kSpecial | kIgnored},
    {"br", kBreaksOut | kVoid | kSpecial | kBr},
    {"button", kSpecial | kButton},
    {"caption", kSpecial | kScope},
    {"center", kBreaksOut | kBlock},
    {"code", kBreaksOut | kFormatting},
    {"col", kVoid | kSpecial},
    {"colgroup", kSpecial},
    {"dd", kBreaksOut | kSpecial | kNoReconstruct},
    {"details", kBlock},
    {"dialog", kClosesP | kNoReconstruct},
    {"dir", kBlock},
    {"div", kBreaksOut | kBlock},
    {"dl", kBreaksOut | kBlock},
    {"dt", kBreaksOut | kSpecial | kNoReconstruct},
    {"em", kBreaksOut | kFormatting},
    {"embed", kBreaksOut | kVoid | kSpecial},
    {"fieldset", kBlock},
    {"figcaption", kBlock},
    {"figure", kBlock},
    {"font", kFormatting},
    {"footer", kBlock},
    {"form", kBlock},
    {"frame", kVoid | kSpecial},
    {"frameset", kSpecial | kIgnored},
    {"h1", kBreaksOut | kBlock},
    {"h2", kBreaksOut | kBlock},
    {"h3", kBreaksOut | kBlock},
    {"h4", kBreaksOut | kBlock},
    {"h5", kBreaksOut | kBlock},
    {"h6", kBreaksOut | kBlock},
    {"head", kBreaksOut | kSpecial | kIgnored},
    {"header", kBlock},
    {"hgroup", kBlock},
    {"hr", kBreaksOut | kVoid | kBlock},
    {"html", kSpecial | kIgnored},
    {"i", kBreaksOut | kFormatting},
    {"iframe", kSpecial | kNoReconstruct},
    {"image", kVoid},
    {"img", kBreaksOut | kVoid | kSpecial},
    {"input", kVoid | kSpecial},
    {"keygen", kVoid | kSpecial},
    {"li", kBreaksOut | kSpecial | kNoReconstruct},
    {"link", kVoid | kSpecial | kNoReconstruct},
    {"listing", kBreaksOut | kBlock | kPre},
    {"main", kBlock},
    {"marquee", kSpecial | kScope},
    {"math", kMath},
    {"menu", kBreaksOut | kBlock},
    {"meta", kBreaksOut | kVoid | kSpecial | kNoReconstruct},
    {"nav", kBlock},
    {"nobr", kBreaksOut | kFormatting},
    {"noembed", kSpecial | kNoReconstruct},
    {"noframes", kSpecial | kNoReconstruct},
    {"noscript", kSpecial | kNoReconstruct},
    {"object", kSpecial | kScope},
    {"ol", kBreaksOut | kBlock},
    {"p", kBreaksOut | kBlock | kP},
    {"param", kVoid | kSpecial | kNoReconstruct},
    {"plaintext", kBlock},
    {"pre", kBreaksOut | kBlock | kPre},
    {"ruby", kBreaksOut},
    {"s", kBreaksOut | kFormatting},
    {"script", kSpecial | kNoReconstruct},
    {"search", kBlock},
    {"section", kBlock},
    {"select", kSpecial},
    {"small", kBreaksOut | kFormatting},
    {"source", kVoid | kSpecial | kNoReconstruct},
    {"span", kBreaksOut},
    {"strike", kBreaksOut | kFormatting},
    {"strong", kBreaksOut | kFormatting},
    {"style", kSpecial | kNoReconstruct},
    {"sub", kBreaksOut},
    {"summary", kBlock},
    {"sup", kBreaksOut},
    {"svg", kSvg},
    {"table", kBreaksOut | kBlock | kScope},
    {"tbody", kSpecial},
    {"td", kSpecial | kScope},
    {"template", kSpecial | kScope},
    {"textarea", kSpecial | kNoReconstruct},
    {"tfoot", kSpecial},
    {"th", kSpecial | kScope},
    {"thead", kSpecial},
    {"title", kSpecial | kNoReconstruct},
    {"tr", kSpecial},
    {"track", kVoid | kSpecial | kNoReconstruct},
    {"tt", kBreaksOut | kFormatting},
    {"u", kBreaksOut | kFormatting},
    {"ul", kBreaksOut | kBlock},
    {"var", kBreaksOut},
    {"wbr", kVoid | kSpecial},
    {"xmp", kClosesP | kSpecial},
};

// The names in an open-addressed table, by a hash of their first eight bytes.
constexpr size_t kSlots = 512;

constexpr size_t SlotOf(const TagName& name) {
    return static_cast<size_t>((name.head * 0x9E3779B97F4A7C15u) >> 55) % kSlots;
}

struct Slot {
    uint64_t head = 0;
    uint64_t tail = 0;
    size_t size = 0;  // a name holding a NUL byte packs as the shorter name before it
    unsigned flags = 0;
    bool used = false;
};

constexpr auto kHtmlSlots = [] {
    std::array<Slot, kSlots> slots{};
    for (const NameFlags& row : kHtmlNames) {
        const TagName name(row.name);
        size_t at = SlotOf(name);
        while (slots[at].used) {
            at = (at + 1) % kSlots;
        }
        slots[at] = {name.head, name.tail, row.name.size(), row.flags, true};
    }
    return slots;
}();

// The flags of the HTML element named `name`, in any case; 0 for the others.
unsigned FlagsOf(const TagName& name) {
    if (name.text.size() > 10) {
        return 0;  // longer than "blockquote"
    }
    for (size_t at = SlotOf(name); kHtmlSlots[at].used; at = (at + 1) % kSlots) {
        const Slot& slot = kHtmlSlots[at];
        if (slot.head == name.head && slot.tail == name.tail && slot.size == name.text.size()) {
            return slot.flags;
        }
    }
    return 0;
}

constexpr TagName kTagA("a");
constexpr TagName kTagP("p");
constexpr TagName kTagSvg("svg");

}  // namespace

bool TagName::SameBeyondSixteen(const TagName& other) const {
    return lex_scan::StartsWithNoCase(text, 16, other.text.substr(16));
}

bool HtmlTree::Special(const Element& node) {
    return node.htmlIntegration || node.textIntegration ||
           (node.space == Space::MathMl && node.name == kAnnotationXml) ||
           (node.flags & kSpecial) != 0;
}

bool HtmlTree::HtmlOrIntegration() const {
    return open_.empty() || open_.back().space == Space::Html || open_.back().htmlIntegration ||
           open_.back().textIntegration;
}

bool HtmlTree::HtmlRulesTake(bool startTag, const TagName& name) const {
    if (open_.empty()) {
        return true;
    }
    const Element& current = open_.back();
    if (current.space == Space::Html || current.htmlIntegration) {
        return true;
    }
    if (current.textIntegration) {
        return !startTag || !IsOneOf(name.text, {"mglyph", "malignmark"});
    }
    return startTag && current.space == Space::MathMl && current.name == kAnnotationXml &&
           name == kTagSvg;
}

bool HtmlTree::Start(const TagName& name, const Attributes& attributes, bool selfClosing,
                     bool raw) {
    const unsigned flags = FlagsOf(name);
    if (!HtmlRulesTake(true, name)) {
        if (!(flags & kBreaksOut) && !(name == kFont && attributes.fontBreaksOut)) {
            if (!selfClosing) {
                Push(name, 0, open_.back().space, attributes);
            }
            return false;
        }
        while (!HtmlOrIntegration()) {
            PopThrough(open_.size() - 1);
        }
    }
    if (flags & (kSvg | kMath)) {
        Reconstruct();
        if (!selfClosing) {
            Push(name, 0, (flags & kSvg) ? Space::Svg : Space::MathMl, attributes);
        }
        return true;
    }
    HtmlStart(name, flags, raw);
    return true;
}

void HtmlTree::HtmlStart(const TagName& name, unsigned flags, bool raw) {
    if (flags & kIgnored) {
        return;
    }
    if (flags & kClosesP) {
        if (const size_t p = paragraphs_ > 0 ? InScope(kTagP, true) : kNone; p != kNone) {
            PopThrough(p);
        }
    }
    if (flags & kA) {
        CloseActiveA();
    }
    if (!(flags & kNoReconstruct) && !NothingToReopen()) {
        Reconstruct();
    }
    if (raw || (flags & kVoid)) {
        return;
    }
    const size_t id = Push(name, flags, Space::Html, {});
    if ((flags & kFormatting) && id != kNone) {
        AddFormatting(name, id);
    }
}

void HtmlTree::CloseActiveA() {
    const auto a =
        std::ranges::find_if(formatting_, [](const Formatting& f) { return f.name == kTagA; });
    if (a == formatting_.end()) {
        return;
    }
    const size_t id = a->id;
    Adopt(kTagA);
    std::erase_if(formatting_, [&](const Formatting& f) { return f.id == id; });
    const auto open = std::ranges::find_if(open_, [&](const Element& e) { return e.id == id; });
    if (open != open_.end()) {
        Erase(static_cast<size_t>(open - open_.begin()));
    }
}

void HtmlTree::AddFormatting(const TagName& name, size_t id) {
    // No more than three alike, as HTML keeps them.
    if (std::ranges::count_if(formatting_, [&](const Formatting& f) { return f.name == name; }) ==
        3) {
        formatting_.erase(
            std::ranges::find_if(formatting_, [&](const Formatting& f) { return f.name == name; }));
    }
    if (formatting_.size() == kMaxFormatting) {
        formatting_.erase(formatting_.begin());
    }
    formatting_.push_back({name, id});
}

void HtmlTree::End(const TagName& name) {
    // Most end tags close the current HTML node: its flags are those of the name (a formatting
    // element opened again has kFormatting alone, but it is no `<p>` either).
    if (!open_.empty() && open_.back().space == Space::Html && !(open_.back().flags & kP) &&
        open_.back().name == name) {
        CloseCurrent(open_.back().flags);
        return;
    }
    const unsigned flags = FlagsOf(name);
    if (open_.empty() || open_.back().space == Space::Html || (flags & (kBr | kP))) {
        while (!HtmlOrIntegration()) {
            PopThrough(open_.size() - 1);  // `</p>` and `</br>` end SVG and MathML as start tags do
        }
        HtmlEnd(name, flags);
        return;
    }
    // In SVG and MathML, an end tag closes the nearest open element of its name; an HTML element
    // on the way hands it to HTML's rules.
    for (size_t k = open_.size(); k-- > 0;) {
        if (open_[k].name == name) {
            PopThrough(k);
            return;
        }
        if (k == 0 || open_[k - 1].space == Space::Html) {
            HtmlEnd(name, flags);
            return;
        }
    }
}

void HtmlTree::HtmlEnd(const TagName& name, unsigned flags) {
    if (flags & kP) {
        if (const size_t p = paragraphs_ > 0 ? InScope(kTagP, true) : kNone; p != kNone) {
            PopThrough(p);
        }
        return;
    }
    if (!open_.empty() && open_.back().space == Space::Html && open_.back().name == name) {
        CloseCurrent(flags);  // whatever the rule that does it
        return;
    }
    if ((flags & kFormatting) && Adopt(name)) {
        return;
    }
    if (flags & kSpecial) {
        // A block's end tag closes it, and what is open in it, where it is in scope.
        if (const size_t block = InScope(name, false); block != kNone) {
            PopThrough(block);
        }
        return;
    }
    for (size_t k = open_.size(); k-- > 0;) {
        const Element& node = open_[k];
        if (node.space == Space::Html && node.name == name) {
            PopThrough(k);
            return;
        }
        if (Special(node)) {
            return;
        }
    }
}

size_t HtmlTree::Push(const TagName& name, unsigned flags, Space space,
                      const Attributes& attributes) {
    if (open_.size() == kMaxOpen) {
        return kNone;
    }
    const size_t id = alive_.size();
    alive_.push_back(true);
    pre_ += (flags & kPre) != 0;
    paragraphs_ += (flags & kP) != 0;
    // SVG and MathML elements where HTML's rules read on.
    const bool textIntegration =
        space == Space::MathMl && IsOneOf(name.text, {"mi", "mo", "mn", "ms", "mtext"});
    const bool htmlIntegration =
        space == Space::Svg
            ? IsOneOf(name.text, {"foreignobject", "desc", "title"})
            : space == Space::MathMl && name == kAnnotationXml &&
                  IsOneOf(attributes.encoding, {"text/html", "application/xhtml+xml"});
    open_.push_back({name, space, flags, htmlIntegration, textIntegration, id});
    return id;
}

void HtmlTree::Forget(const Element& element) {
    alive_[element.id] = false;
    pre_ -= (element.flags & kPre) != 0;
    paragraphs_ -= (element.flags & kP) != 0;
}

void HtmlTree::CloseCurrent(unsigned flags) {
    const size_t id = open_.back().id;
    if (!formatting_.empty() && formatting_.back().id == id) {
        formatting_.pop_back();
    } else if (flags & kFormatting) {
        std::erase_if(formatting_, [&](const Formatting& f) { return f.id == id; });
    }
    Forget(open_.back());
    open_.pop_back();
}

void HtmlTree::PopThrough(size_t index) {
    const auto first = open_.begin() + static_cast<std::ptrdiff_t>(index);
    // The end read once: as far as the compiler knows, a byte of alive_ may be one of open_'s own.
    for (auto element = first, end = open_.end(); element != end; ++element) {
        Forget(*element);
    }
    open_.erase(first, open_.end());
}

void HtmlTree::Erase(size_t index) {
    Forget(open_[index]);
    open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(index));
}

size_t HtmlTree::InScope(const TagName& name, bool button) const {
    for (size_t k = open_.size(); k-- > 0;) {
        const Element& node = open_[k];
        if (node.space == Space::Html && node.name == name) {
            return k;
        }
        const bool mathScope = node.space == Space::MathMl && node.name == kAnnotationXml;
        if (node.htmlIntegration || node.textIntegration || mathScope ||
            (node.flags & (button ? kScope | kButton : kScope)) != 0) {
            return kNone;
        }
    }
    return kNone;
}

void HtmlTree::Reconstruct() {
    if (NothingToReopen()) {
        return;
    }
    size_t first = formatting_.size() - 1;
    while (first > 0 && !OnStack(formatting_[first - 1].id)) {
        --first;
    }
    for (size_t k = first; k < formatting_.size(); ++k) {
        formatting_[k].id = Push(formatting_[k].name, kFormatting, Space::Html, {});
    }
}

bool HtmlTree::Adopt(const TagName& name) {
    auto entry = std::ranges::find_if(formatting_.rbegin(), formatting_.rend(),
                                      [&](const Formatting& f) { return f.name == name; });
    if (entry == formatting_.rend()) {
        return false;
    }
    const size_t id = entry->id;
    auto onStack = std::ranges::find_if(open_, [&](const Element& e) { return e.id == id; });
    if (onStack == open_.end()) {
        formatting_.erase(std::next(entry).base());
        return true;
    }
    const size_t index = static_cast<size_t>(onStack - open_.begin());
    if (InScope(name, false) != index) {
        return true;  // not in scope: nothing happens
    }
    formatting_.erase(std::next(entry).base());
    // With a block inside it, it closes alone; otherwise everything opened in it closes too.
    const bool blockInside =
        std::any_of(open_.begin() + static_cast<std::ptrdiff_t>(index) + 1, open_.end(), Special);
    if (blockInside) {
        Erase(index);
    } else {
        PopThrough(index);
    }
    return true;
}
