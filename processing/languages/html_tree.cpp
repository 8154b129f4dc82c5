#include "processing/languages/html_tree.h"

#include <algorithm>

#include "processing/languages/lex_scan.h"

namespace {

constexpr size_t kNone = std::string_view::npos;
// Elements nested deeper, and formatting elements beyond these, are not kept track of: hostile
// input cannot make the walks along them slow.
constexpr size_t kMaxOpen = 256;
constexpr size_t kMaxFormatting = 64;

constexpr auto Is = lex_scan::EqualsNoCase;
constexpr auto IsOneOf = lex_scan::IsOneOfNoCase;

// HTML start tags that end the SVG or MathML content they stand in.
bool BreaksOut(std::string_view name) {
    return IsOneOf(
        name,
        {"b",      "big",  "blockquote", "body",  "br",   "center", "code",    "dd",   "div",
         "dl",     "dt",   "em",         "embed", "h1",   "h2",     "h3",      "h4",   "h5",
         "h6",     "head", "hr",         "i",     "img",  "li",     "listing", "menu", "meta",
         "nobr",   "ol",   "p",          "pre",   "ruby", "s",      "small",   "span", "strong",
         "strike", "sub",  "sup",        "table", "tt",   "u",      "ul",      "var"});
}

bool IsFormatting(std::string_view name) {
    return IsOneOf(name, {"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small",
                          "strike", "strong", "tt", "u"});
}

bool IsVoid(std::string_view name) {
    return IsOneOf(
        name, {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "image",
               "img", "input", "keygen", "link", "meta", "param", "source", "track", "wbr"});
}

// HTML start tags that close an open `<p>` and are no phrasing content.
bool ClosesP(std::string_view name) {
    return IsOneOf(
        name,
        {"address", "article", "aside",    "blockquote", "center", "details", "dialog",    "dir",
         "div",     "dl",      "fieldset", "figcaption", "figure", "footer",  "form",      "h1",
         "h2",      "h3",      "h4",       "h5",         "h6",     "header",  "hgroup",    "hr",
         "listing", "main",    "menu",     "nav",        "ol",     "p",       "plaintext", "pre",
         "search",  "section", "summary",  "table",      "ul",     "xmp"});
}

// HTML start tags before which the formatting elements closed by accident are opened again.
bool Reconstructs(std::string_view name) {
    return Is(name, "xmp") ||
           !(ClosesP(name) || IsOneOf(name, {"base", "dd", "dt", "iframe", "li", "link", "meta",
                                             "noembed", "noframes", "noscript", "param", "script",
                                             "source", "style", "textarea", "title", "track"}));
}

bool IsSpecialHtml(std::string_view name) {
    return IsOneOf(
        name,
        {"address", "applet",     "area",     "article",    "aside",     "base",     "basefont",
         "bgsound", "blockquote", "body",     "br",         "button",    "caption",  "center",
         "col",     "colgroup",   "dd",       "details",    "dir",       "div",      "dl",
         "dt",      "embed",      "fieldset", "figcaption", "figure",    "footer",   "form",
         "frame",   "frameset",   "h1",       "h2",         "h3",        "h4",       "h5",
         "h6",      "head",       "header",   "hgroup",     "hr",        "html",     "iframe",
         "img",     "input",      "keygen",   "li",         "link",      "listing",  "main",
         "marquee", "menu",       "meta",     "nav",        "noembed",   "noframes", "noscript",
         "object",  "ol",         "p",        "param",      "plaintext", "pre",      "script",
         "search",  "section",    "select",   "source",     "style",     "summary",  "table",
         "tbody",   "td",         "template", "textarea",   "tfoot",     "th",       "thead",
         "title",   "tr",         "track",    "ul",         "wbr",       "xmp"});
}

}  // namespace

bool HtmlTree::Special(const Element& node) {
    return node.htmlIntegration || node.textIntegration ||
           (node.space == Space::MathMl && Is(node.name, "annotation-xml")) ||
           (node.space == Space::Html && IsSpecialHtml(node.name));
}

bool HtmlTree::HtmlOrIntegration() const {
    return open_.empty() || open_.back().space == Space::Html || open_.back().htmlIntegration ||
           open_.back().textIntegration;
}

bool HtmlTree::HtmlRulesTake(bool startTag, std::string_view name) const {
    if (open_.empty()) {
        return true;
    }
    const Element& current = open_.back();
    if (current.space == Space::Html || current.htmlIntegration) {
        return true;
    }
    if (current.textIntegration) {
        return !startTag || !IsOneOf(name, {"mglyph", "malignmark"});
    }
    return startTag && current.space == Space::MathMl && Is(current.name, "annotation-xml") &&
           Is(name, "svg");
}

bool HtmlTree::Start(std::string_view name, const Attributes& attributes, bool selfClosing,
                     bool raw) {
    if (!HtmlRulesTake(true, name)) {
        if (!BreaksOut(name) && !(Is(name, "font") && attributes.fontBreaksOut)) {
            if (!selfClosing) {
                Push(name, open_.back().space, attributes);
            }
            return false;
        }
        while (!HtmlOrIntegration()) {
            PopThrough(open_.size() - 1);
        }
    }
    if (IsOneOf(name, {"svg", "math"})) {
        Reconstruct();
        if (!selfClosing) {
            Push(name, Is(name, "svg") ? Space::Svg : Space::MathMl, attributes);
        }
        return true;
    }
    HtmlStart(name, raw);
    return true;
}

void HtmlTree::HtmlStart(std::string_view name, bool raw) {
    if (IsOneOf(name, {"html", "head", "body", "frameset"})) {
        return;
    }
    if (ClosesP(name)) {
        if (const size_t p = InScope("p", true); p != kNone) {
            PopThrough(p);
        }
    }
    const auto a =
        std::ranges::find_if(formatting_, [](const Formatting& f) { return Is(f.name, "a"); });
    if (Is(name, "a") && a != formatting_.end()) {
        // An `<a>` in an `<a>` closes it, out of scope too.
        const size_t id = a->id;
        Adopt("a");
        std::erase_if(formatting_, [&](const Formatting& f) { return f.id == id; });
        const auto open = std::ranges::find_if(open_, [&](const Element& e) { return e.id == id; });
        if (open != open_.end()) {
            Erase(static_cast<size_t>(open - open_.begin()));
        }
    }
    if (Reconstructs(name)) {
        Reconstruct();
    }
    if (raw || IsVoid(name)) {
        return;
    }
    const size_t id = Push(name, Space::Html, {});
    if (IsFormatting(name) && id != kNone) {
        // No more than three alike, as HTML keeps them.
        if (std::ranges::count_if(formatting_,
                                  [&](const Formatting& f) { return Is(f.name, name); }) == 3) {
            formatting_.erase(std::ranges::find_if(
                formatting_, [&](const Formatting& f) { return Is(f.name, name); }));
        }
        if (formatting_.size() == kMaxFormatting) {
            formatting_.erase(formatting_.begin());
        }
        formatting_.push_back({name, id});
    }
}

void HtmlTree::End(std::string_view name) {
    if (open_.empty() || open_.back().space == Space::Html || IsOneOf(name, {"br", "p"})) {
        while (!HtmlOrIntegration()) {
            PopThrough(open_.size() - 1);  // `</p>` and `</br>` end SVG and MathML as start tags do
        }
        HtmlEnd(name);
        return;
    }
    // In SVG and MathML, an end tag closes the nearest open element of its name; an HTML element
    // on the way hands it to HTML's rules.
    for (size_t k = open_.size(); k-- > 0;) {
        if (Is(open_[k].name, name)) {
            PopThrough(k);
            return;
        }
        if (k == 0 || open_[k - 1].space == Space::Html) {
            HtmlEnd(name);
            return;
        }
    }
}

void HtmlTree::HtmlEnd(std::string_view name) {
    if (Is(name, "p")) {
        if (const size_t p = InScope("p", true); p != kNone) {
            PopThrough(p);
        }
        return;
    }
    if (Adopt(name)) {
        return;
    }
    if (IsSpecialHtml(name)) {
        // A block's end tag closes it, and what is open in it, where it is in scope.
        if (const size_t block = InScope(name, false); block != kNone) {
            PopThrough(block);
        }
        return;
    }
    for (size_t k = open_.size(); k-- > 0;) {
        const Element& node = open_[k];
        if (node.space == Space::Html && Is(node.name, name)) {
            PopThrough(k);
            return;
        }
        if (Special(node)) {
            return;
        }
    }
}

void HtmlTree::Text() {
    if (HtmlRulesTake(false, {})) {
        Reconstruct();
    }
}

size_t HtmlTree::Push(std::string_view name, Space space, const Attributes& attributes) {
    if (open_.size() == kMaxOpen) {
        return kNone;
    }
    Element element{name, space, false, false, alive_.size()};
    alive_.push_back(true);
    pre_ += space == Space::Html && IsOneOf(name, {"pre", "listing"});
    if (space == Space::Svg) {
        element.htmlIntegration = IsOneOf(name, {"foreignobject", "desc", "title"});
    } else if (space == Space::MathMl) {
        element.textIntegration = IsOneOf(name, {"mi", "mo", "mn", "ms", "mtext"});
        element.htmlIntegration =
            Is(name, "annotation-xml") &&
            IsOneOf(attributes.encoding, {"text/html", "application/xhtml+xml"});
    }
    open_.push_back(element);
    return element.id;
}

void HtmlTree::Forget(const Element& element) {
    alive_[element.id] = false;
    pre_ -= element.space == Space::Html && IsOneOf(element.name, {"pre", "listing"});
}

void HtmlTree::PopThrough(size_t index) {
    for (size_t k = index; k < open_.size(); ++k) {
        Forget(open_[k]);
    }
    open_.resize(index);
}

void HtmlTree::Erase(size_t index) {
    Forget(open_[index]);
    open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(index));
}

size_t HtmlTree::InScope(std::string_view name, bool button) const {
    for (size_t k = open_.size(); k-- > 0;) {
        const Element& node = open_[k];
        if (node.space == Space::Html && Is(node.name, name)) {
            return k;
        }
        const bool mathScope = node.space == Space::MathMl && Is(node.name, "annotation-xml");
        if (node.htmlIntegration || node.textIntegration || mathScope ||
            (node.space == Space::Html &&
             (IsOneOf(node.name, {"applet", "caption", "table", "td", "th", "marquee", "object",
                                  "template"}) ||
              (button && Is(node.name, "button"))))) {
            return kNone;
        }
    }
    return kNone;
}

bool HtmlTree::OnStack(size_t id) const {
    return id < alive_.size() && alive_[id];
}

void HtmlTree::Reconstruct() {
    if (formatting_.empty() || OnStack(formatting_.back().id)) {
        return;
    }
    size_t first = formatting_.size() - 1;
    while (first > 0 && !OnStack(formatting_[first - 1].id)) {
        --first;
    }
    for (size_t k = first; k < formatting_.size(); ++k) {
        formatting_[k].id = Push(formatting_[k].name, Space::Html, {});
    }
}

bool HtmlTree::Adopt(std::string_view name) {
    auto entry = std::ranges::find_if(formatting_.rbegin(), formatting_.rend(),
                                      [&](const Formatting& f) { return Is(f.name, name); });
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
