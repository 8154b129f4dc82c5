// HTML, XML and Vue: `<!-- -->` comments. Attribute values, CDATA sections, declarations and
// processing instructions are read past; in HTML and Vue the text of `<script>` and `<style>` is
// handed to the lexer of its language (`lang="ts"`, `type="module"`, …), and the other elements
// whose text is raw (`<textarea>`, `<title>`, …) are read past to their end tag. The text of
// `<pre>` and `<listing>` keeps its white space: it is reported as literals around the comments.
#include <algorithm>
#include <array>
#include <cstdint>

#include "processing/languages/html_tree.h"
#include "processing/languages/lexers.h"
#include "processing/languages/lex_scan.h"

namespace {

using lex_scan::EqualsNoCase;
using lex_scan::IsOneOfNoCase;
using lex_scan::StartsWithNoCase;

enum class Markup { Html, Xml, Vue };

// What ends a run of bytes in a tag, by byte: each run is read with one look at a table.
enum : uint8_t {
    kSpace = 1,
    kEndsName = 2,       // of a tag: a space, `>` or `/`
    kEndsAttribute = 4,  // an attribute's name: those and `=`
    kEndsValue = 8,      // an unquoted value: a space or `>`
};

constexpr auto kByteKinds = [] {
    std::array<uint8_t, 256> kinds{};
    for (const unsigned char c : {' ', '\t', '\n', '\r', '\f'}) {
        kinds[c] = kSpace | kEndsName | kEndsAttribute | kEndsValue;
    }
    kinds['>'] = kEndsName | kEndsAttribute | kEndsValue;
    kinds['/'] = kEndsName | kEndsAttribute;
    kinds['='] = kEndsAttribute;
    return kinds;
}();

bool Is(char c, uint8_t kind) {
    return (kByteKinds[static_cast<unsigned char>(c)] & kind) != 0;
}

bool IsSpace(char c) {
    return Is(c, kSpace);
}

bool IsLetter(char c) {
    return static_cast<unsigned>((c | 0x20) - 'a') < 26u;
}

// What the text of an element is: markup, raw text kept as it is, or code of a language.
struct Content {
    bool raw = false;
    CommentLexer lexer = nullptr;  // with `raw`: the lexer of the code, if it is known
};

// A start tag's name and the two attributes that say which language its text is in.
struct Tag {
    // The fields after the name are cleared one by one: clearing the whole first is slower.
    explicit Tag(const TagName& name) : name(name) {}

    TagName name;
    std::string_view type;
    std::string_view lang;
    bool hasType = false;
    bool hasLang = false;
    HtmlTree::Attributes attributes;
    size_t end = 0;  // just past its `>`
};

struct LangLexer {
    std::string_view value;
    CommentLexer lexer;
};

// The values of `lang` and `type` that name the code in `<script>`; any other leaves it as it is.
constexpr LangLexer kScriptLangs[] = {
    {"js", LexJavaScript},
    {"jsx", LexJavaScript},
    {"ts", LexTypeScript},
    {"tsx", LexTsx},
};
constexpr LangLexer kScriptTypes[] = {
    {"text/javascript", LexJavaScript},        {"module", LexJavaScript},
    {"application/javascript", LexJavaScript}, {"text/ecmascript", LexJavaScript},
    {"application/ecmascript", LexJavaScript}, {"text/jsx", LexJavaScript},
    {"text/typescript", LexTypeScript},
};
// The values of `lang` on `<style>`.
constexpr LangLexer kStyleLangs[] = {
    {"css", LexCss},
    {"scss", LexScss},
    {"less", LexScss},
    {"postcss", LexCss},
};

template <size_t N>
Content CodeIn(std::string_view value, const LangLexer (&table)[N]) {
    for (const LangLexer& row : table) {
        if (EqualsNoCase(value, row.value)) {
            return {true, row.lexer};
        }
    }
    return {true, nullptr};
}

constexpr TagName kScript("script");
constexpr TagName kStyle("style");
constexpr TagName kTemplate("template");
constexpr TagName kPlaintext("plaintext");

// Elements whose text is raw in HTML: its end tag is the only markup in it.
constexpr TagName kRawTextElements[] = {
    TagName("textarea"), TagName("title"),    TagName("xmp"),      TagName("iframe"),
    TagName("noembed"),  TagName("noframes"), TagName("noscript"), kPlaintext,
};

// HTML elements whose text keeps its line ends, blank lines too; markup goes on in them.
bool KeepsWhiteSpace(const TagName& name) {
    return name == TagName("pre") || name == TagName("listing");
}

// By the first letter and the size of a name, whether it may be one of those whose text is not
// markup: most names are looked at no further.
constexpr auto kContentShapes = [] {
    std::array<uint32_t, 32> shapes{};
    for (const TagName& name : {kScript, kStyle, kTemplate}) {
        shapes[name.head & 31] |= 1u << name.text.size();
    }
    for (const TagName& name : kRawTextElements) {
        shapes[name.head & 31] |= 1u << name.text.size();
    }
    return shapes;
}();

Content ContentOf(const Tag& tag, Markup markup) {
    const size_t size = tag.name.text.size();
    if (markup == Markup::Xml || size >= 32 || !(kContentShapes[tag.name.head & 31] >> size & 1)) {
        return {};
    }
    if (tag.name == kScript) {
        if (tag.hasLang) {
            return CodeIn(tag.lang, kScriptLangs);
        }
        return tag.hasType && !tag.type.empty() ? CodeIn(tag.type, kScriptTypes)
                                                : Content{true, LexJavaScript};
    }
    if (tag.name == kStyle) {
        return tag.hasLang ? CodeIn(tag.lang, kStyleLangs) : Content{true, LexCss};
    }
    if (markup == Markup::Vue && tag.name == kTemplate && tag.hasLang &&
        !EqualsNoCase(tag.lang, "html")) {
        return {true, nullptr};  // pug and the like
    }
    for (const TagName& name : kRawTextElements) {
        if (tag.name == name) {
            return {true, nullptr};
        }
    }
    return {};
}

class MarkupLexer {
  public:
    MarkupLexer(std::string_view text, CommentSpans& spans, Markup markup)
        : text_(text), spans_(spans), markup_(markup) {}

    void Run() {
        size_t i = 0;
        size_t at = 0;
        while ((i = byte_scan::FindFirstOf<'<'>(text_, at)) < text_.size()) {
            if (i > at) {
                tree_.Text();
            }
            at = ReadMarkup(i);
            FollowPre(i, at);
        }
        if (keptFrom_ != std::string_view::npos) {
            KeepText(text_.size());
        }
    }

  private:
    // Reads the markup that starts with the `<` at `i`; returns where text goes on.
    size_t ReadMarkup(size_t i) {
        const char next = i + 1 < text_.size() ? text_[i + 1] : '\0';
        switch (next) {
            case '!':
                if (text_.compare(i, 4, "<!--") == 0) {
                    return Comment(i);
                }
                if (text_.compare(i, 9, "<![CDATA[") == 0 &&
                    (markup_ == Markup::Xml || tree_.InForeign())) {
                    return Kept(i, Past(i + 9, "]]>"));
                }
                return Declaration(i + 2);
            case '?':
                return Kept(i, Past(i + 2, markup_ == Markup::Xml ? "?>" : ">"));
            case '/':
                return IsLetter(i + 2 < text_.size() ? text_[i + 2] : '\0')
                           ? EndTagAt(i)
                           : Kept(i, Past(i + 2, ">"));
            default:
                if (IsLetter(next) || (markup_ == Markup::Xml && next == '_')) {
                    return Element(i);
                }
                tree_.Text();
                return i + 1;
        }
    }

    // Just past the first `close` at or after `i`, or the text's size.
    size_t Past(size_t i, std::string_view close) const {
        const size_t at = text_.find(close, i);
        return at == std::string_view::npos ? text_.size() : at + close.size();
    }

    // The end tag at `i`; returns just past it. Any attributes are read as a start tag's.
    size_t EndTagAt(size_t i) {
        const size_t after = NameEnd(i + 2);
        if (markup_ != Markup::Xml) {
            tree_.End(TagName::At(text_, i + 2, after - (i + 2)));
        }
        return after < text_.size() && text_[after] == '>' ? after + 1 : StartTag(i + 1).end;
    }

    // Markup that stays as it stands from `begin` to `end`: its lines too.
    size_t Kept(size_t begin, size_t end) {
        AddLiteral(begin, end);
        return end;
    }

    // `<!-- … -->`. Some stay, where what stands around them would run together without them:
    // after a `<` of text, one that a name (or `!`, `/`, `?`) follows, past any more comments; the
    // first in a `<pre>` that a line end (or the text's end) follows, which HTML would drop.
    size_t Comment(size_t i) {
        const size_t end = CommentEnd(i);
        if (markup_ != Markup::Xml) {
            size_t after = end;
            while (text_.compare(after, 4, "<!--") == 0) {
                after = CommentEnd(after);
            }
            const char next = after < text_.size() ? text_[after] : '\0';
            if ((i > 0 && text_[i - 1] == '<' &&
                 (IsLetter(next) || next == '!' || next == '/' || next == '?')) ||
                (i == firstInPre_ && (next == '\n' || next == '\r' || ClosedAtEnd(after)))) {
                return end;
            }
        }
        Push({i, end, false, false});
        return end;
    }

    // Whether `at` is the text's end, just past a closed comment (the line end after it went with
    // the // pass).
    bool ClosedAtEnd(size_t at) const {
        return at == text_.size() && (text_.ends_with("-->") || text_.ends_with("--!>"));
    }

    // Just past the comment at `i`. HTML also ends one at `--!>`, and takes `<!-->` and `<!--->`
    // as whole ones.
    size_t CommentEnd(size_t i) const {
        size_t end = Past(i + 4, "-->");
        if (markup_ != Markup::Xml) {
            if (text_.compare(i + 4, 1, ">") == 0 || text_.compare(i + 4, 2, "->") == 0) {
                end = i + 5 + (text_[i + 4] == '-');
            } else {
                // Only before the `-->`: looking further would read the rest of the text again.
                const size_t bang = text_.substr(0, end).find("--!>", i + 4);
                end = bang == std::string_view::npos ? end : bang + 4;
            }
        }
        return end;
    }

    // `<!DOCTYPE …>` and the like. In XML a declaration's quoted values and its internal subset
    // (`[ … ]`, with markup and comments of its own) are read past too.
    size_t Declaration(size_t i) {
        if (markup_ != Markup::Xml) {
            return Kept(i - 2, Past(i, ">"));
        }
        while (i < text_.size()) {
            const char c = text_[i];
            if (c == '>') {
                return i + 1;
            }
            if (c == '"' || c == '\'') {
                i = lex_scan::QuotedEnd(text_, i + 1, c, lex_scan::Escape::None);
            } else if (c == '[') {
                i = InternalSubset(i + 1);
            } else {
                ++i;
            }
        }
        return i;
    }

    size_t InternalSubset(size_t i) {
        while (i < text_.size()) {
            const char c = text_[i];
            if (c == ']') {
                return i + 1;
            }
            if (c == '<') {
                i = text_.compare(i, 4, "<!--") == 0 ? Comment(i)
                    : text_.compare(i, 2, "<?") == 0 ? Past(i + 2, "?>")
                                                     : Declaration(i + 1);
            } else if (c == '"' || c == '\'') {
                i = lex_scan::QuotedEnd(text_, i + 1, c, lex_scan::Escape::None);
            } else {
                ++i;
            }
        }
        return i;
    }

    // A start tag at `i`, and the text of its element when that is not markup.
    size_t Element(size_t i) {
        const Tag tag = StartTag(i);
        const bool slash = text_[tag.end - 2] == '/';
        const bool selfClosed = markup_ == Markup::Vue && slash;
        const Content content = ContentOf(tag, markup_);
        const bool raw = content.raw && text_[tag.end - 1] == '>' && !selfClosed;
        // In SVG and MathML, no element's text is raw: <title>, <style>, <script> hold markup.
        if (markup_ != Markup::Xml && !tree_.Start(tag.name, tag.attributes, slash, raw)) {
            return tag.end;
        }
        if (KeepsWhiteSpace(tag.name)) {
            firstInPre_ = tag.end;
        }
        if (!raw) {
            return tag.end;
        }
        // Nothing ends `<plaintext>`.
        const size_t close = tag.name == kPlaintext ? text_.size() : EndTag(tag.end, tag.name.text);
        if (content.lexer == nullptr) {
            AddLiteral(tag.end, close);  // its lines are text
        } else {
            CommentSpans inner;
            content.lexer(text_.substr(tag.end, close - tag.end), inner);
            for (CommentSpan span : inner) {
                span.begin += tag.end;
                span.end += tag.end;
                Push(span);
            }
        }
        // Its end tag closes it alone.
        return close < text_.size() ? StartTag(close + 1).end : close;
    }

    // Reads the start tag at `i`: its name, its attributes (quoted values may hold `>`), its end.
    // A quoted value is reported as a literal: its lines are the value's.
    Tag StartTag(size_t i) {
        size_t at = NameEnd(i + 1);
        Tag tag(TagName::At(text_, i + 1, at - (i + 1)));
        // The attributes that matter to the tree of these two.
        const bool annotation = tag.name == kAnnotationXml;
        const bool font = tag.name == kFont;
        while (at < text_.size()) {
            while (at < text_.size() && (IsSpace(text_[at]) || text_[at] == '/')) {
                ++at;
            }
            if (at >= text_.size() || text_[at] == '>') {
                break;
            }
            const size_t nameBegin = at++;
            while (at < text_.size() && !Is(text_[at], kEndsAttribute)) {
                ++at;
            }
            const std::string_view name = text_.substr(nameBegin, at - nameBegin);
            size_t look = at;
            while (look < text_.size() && IsSpace(text_[look])) {
                ++look;
            }
            std::string_view value;
            if (look < text_.size() && text_[look] == '=') {
                at = look + 1;
                while (at < text_.size() && IsSpace(text_[at])) {
                    ++at;
                }
                if (at < text_.size() && (text_[at] == '"' || text_[at] == '\'')) {
                    const size_t close = QuotedValueEnd(at);
                    value = text_.substr(at + 1, close - at - 1);
                    at = std::min(close + 1, text_.size());
                } else {
                    const size_t begin = at;
                    while (at < text_.size() && !Is(text_[at], kEndsValue)) {
                        ++at;
                    }
                    value = text_.substr(begin, at - begin);
                }
            }
            if (EqualsNoCase(name, "type")) {
                tag.type = value, tag.hasType = true;
            } else if (EqualsNoCase(name, "lang")) {
                tag.lang = value, tag.hasLang = true;
            } else if (annotation && EqualsNoCase(name, "encoding")) {
                tag.attributes.encoding = value;
            } else if (font && IsOneOfNoCase(name, {"color", "face", "size"})) {
                tag.attributes.fontBreaksOut = true;
            }
        }
        tag.end = std::min(at + 1, text_.size());
        return tag;
    }

    // Where the value quoted at `open` closes, or the text's size. A value that holds a line end is
    // reported as a literal: its lines are the value's.
    size_t QuotedValueEnd(size_t open) {
        const char quote = text_[open];
        const size_t stop = quote == '"'
                                ? byte_scan::FindFirstOf<'"', '\n', '\r'>(text_, open + 1)
                                : byte_scan::FindFirstOf<'\'', '\n', '\r'>(text_, open + 1);
        if (stop == text_.size() || text_[stop] == quote) {
            return stop;
        }
        const size_t close = std::min(text_.find(quote, stop), text_.size());
        AddLiteral(open, close + 1);
        return close;
    }

    // The end of the tag name that starts at `i`.
    size_t NameEnd(size_t i) const {
        while (i < text_.size() && !Is(text_[i], kEndsName)) {
            ++i;
        }
        return i;
    }

    // Reports a span; in the text of `<pre>`, the text before it is a literal.
    void Push(const CommentSpan& span) {
        if (keptFrom_ != std::string_view::npos) {
            KeepText(span.begin);
            keptFrom_ = span.end;
        }
        spans_.push_back(span);
    }

    // The text of `<pre>` up to `end` stays as it stands, blanks at a line's end too: a piece on
    // one line is reported as well.
    void KeepText(size_t end) {
        if (keptFrom_ < end) {
            spans_.push_back({keptFrom_, end, false, false, true});
        }
    }

    // A literal's lines are text; in `<pre>` that text's literal holds them.
    void AddLiteral(size_t begin, size_t end) {
        if (keptFrom_ == std::string_view::npos) {
            lex_scan::AddLiteral(text_, begin, end, spans_);
        }
    }

    // The text of `<pre>`: from where the first opens to where the last closes (the markup from
    // `begin` to `end` opened or closed one), it is reported as literals around its comments.
    void FollowPre(size_t begin, size_t end) {
        if (tree_.InPre() && keptFrom_ == std::string_view::npos) {
            keptFrom_ = end;
        } else if (!tree_.InPre() && keptFrom_ != std::string_view::npos) {
            KeepText(begin);
            keptFrom_ = std::string_view::npos;
        }
    }

    // Where the end tag of a raw-text element named `name` starts, or the text's size.
    size_t EndTag(size_t i, std::string_view name) const {
        while ((i = text_.find("</", i)) != std::string_view::npos) {
            const size_t after = i + 2 + name.size();
            if (StartsWithNoCase(text_, i + 2, name) &&
                (after == text_.size() || IsSpace(text_[after]) || text_[after] == '/' ||
                 text_[after] == '>')) {
                return i;
            }
            i += 2;
        }
        return text_.size();
    }

    std::string_view text_;
    CommentSpans& spans_;
    Markup markup_;
    HtmlTree tree_;
    size_t keptFrom_ = std::string_view::npos;    // where the text of <pre> not reported starts
    size_t firstInPre_ = std::string_view::npos;  // where the last <pre>'s text starts
};

}  // namespace

void LexHtml(std::string_view text, CommentSpans& spans) {
    MarkupLexer(text, spans, Markup::Html).Run();
}

void LexXml(std::string_view text, CommentSpans& spans) {
    MarkupLexer(text, spans, Markup::Xml).Run();
}

void LexVue(std::string_view text, CommentSpans& spans) {
    MarkupLexer(text, spans, Markup::Vue).Run();
}
