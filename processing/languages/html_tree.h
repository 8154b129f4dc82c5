// The part of HTML's tree construction that decides how its tokenizer reads on: which elements
// are open, in which namespace, so that a start tag's text is raw only where HTML rules apply to
// it, and `<![CDATA[` opens a section only in SVG and MathML. Elements whose text the tokenizer
// reads past (raw text) are never open here.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

// A tag's name with its first sixteen bytes packed into two numbers, letters in lower case: names
// are compared and looked up without reading them byte by byte again.
struct TagName {
    std::string_view text;
    uint64_t head = 0;  // bytes 0 to 7, the first in the lowest
    uint64_t tail = 0;  // bytes 8 to 15

    TagName() = default;
    // Packs `name` byte by byte.
    constexpr explicit TagName(std::string_view name) : text(name) {
        for (size_t k = 0; k < name.size() && k < 16; ++k) {
            const auto c = static_cast<unsigned char>(name[k]);
            const uint64_t lower = c >= 'A' && c <= 'Z' ? c | 0x20u : c;
            (k < 8 ? head : tail) |= lower << (8 * (k % 8));
        }
    }
    // The name of `size` bytes at `at` in `text`, packed eight bytes at once where `text` holds
    // sixteen from there.
    static TagName At(std::string_view text, size_t at, size_t size) {
        const std::string_view name = text.substr(at, size);
        if (std::endian::native != std::endian::little || text.size() - at < 16) {
            return TagName(name);
        }
        uint64_t words[2];
        std::memcpy(words, text.data() + at, sizeof words);
        TagName packed;
        packed.text = name;
        packed.head = LowerCase(FirstBytes(words[0], size));
        packed.tail = size > 8 ? LowerCase(FirstBytes(words[1], size - 8)) : 0;
        return packed;
    }

    // The same name, letters compared regardless of case.
    bool operator==(const TagName& other) const {
        return head == other.head && tail == other.tail && text.size() == other.text.size() &&
               (text.size() <= 16 || SameBeyondSixteen(other));
    }

  private:
    // Eight bytes with the letters among them in lower case.
    static uint64_t LowerCase(uint64_t bytes) {
        constexpr uint64_t kEach = 0x0101010101010101u;
        // In each byte, its low seven bits plus a bias set the top bit from 'A' on, and from past
        // 'Z' on; no sum carries into the next byte.
        const uint64_t low = bytes & (0x7F * kEach);
        const uint64_t fromA = low + (0x80 - 'A') * kEach;
        const uint64_t pastZ = low + (0x80 - 'Z' - 1) * kEach;
        const uint64_t upper = fromA & ~pastZ & ~bytes & (0x80 * kEach);
        return bytes | (upper >> 2);
    }

    // The first `size` bytes of `bytes` (the first in the lowest), the others zero.
    static uint64_t FirstBytes(uint64_t bytes, size_t size) {
        return size >= 8 ? bytes : bytes & ((uint64_t{1} << (8 * size)) - 1);
    }

    bool SameBeyondSixteen(const TagName& other) const;
};

// The elements whose attributes the tree reads (HtmlTree::Attributes).
inline constexpr TagName kAnnotationXml("annotation-xml");
inline constexpr TagName kFont("font");

class HtmlTree {
  public:
    enum class Space { Html, Svg, MathMl };

    // What of a start tag's attributes matters here.
    struct Attributes {
        std::string_view encoding;   // of MathML `annotation-xml`
        bool fontBreaksOut = false;  // `color`, `face` or `size`: a `<font>` that ends SVG/MathML
    };

    // A start tag; returns true when HTML's rules took it (so its text may be raw). `raw`: its
    // text is read past to its end tag.
    bool Start(const TagName& name, const Attributes& attributes, bool selfClosing, bool raw);
    void End(const TagName& name);
    // Text between the markup: it opens again the formatting elements closed by accident.
    void Text() {
        if (!NothingToReopen() && HtmlRulesTake(false, {})) {
            Reconstruct();
        }
    }
    // Whether the current node is SVG or MathML (where `<![CDATA[` opens a section).
    bool InForeign() const { return !open_.empty() && open_.back().space != Space::Html; }
    // Whether a `<pre>` or `<listing>` is open, whose text keeps its white space.
    bool InPre() const { return pre_ > 0; }

  private:
    struct Element {
        TagName name;
        Space space;
        unsigned flags;        // of an HTML element, by its name
        bool htmlIntegration;  // HTML start tags and text are read by HTML's rules in it
        bool textIntegration;  // MathML's mi, mo, mn, ms, mtext
        size_t id;
    };

    static bool Special(const Element& node);
    // Whether the current node is HTML or an integration point (or none is open).
    bool HtmlOrIntegration() const;
    // Whether HTML's rules take a start tag named `name` (or else text) at the current node.
    bool HtmlRulesTake(bool startTag, const TagName& name) const;
    void HtmlStart(const TagName& name, unsigned flags, bool raw);
    // An `<a>` in an `<a>` closes the active one, out of scope too.
    void CloseActiveA();
    // Adds the formatting element `name`, open with `id`, to the active ones.
    void AddFormatting(const TagName& name, size_t id);
    void HtmlEnd(const TagName& name, unsigned flags);
    // Returns the new element's id, or npos when it is too deep to be kept track of.
    size_t Push(const TagName& name, unsigned flags, Space space, const Attributes& attributes);
    // Closes the current node, an HTML element with these flags.
    void CloseCurrent(unsigned flags);
    void Forget(const Element& element);
    void PopThrough(size_t index);
    void Erase(size_t index);
    // The index of the last open HTML element named `name` in its scope, or npos.
    size_t InScope(const TagName& name, bool button) const;
    bool OnStack(size_t id) const { return id < alive_.size() && alive_[id]; }
    // Whether there is no formatting element to open again: none is active, or the last is open.
    bool NothingToReopen() const { return formatting_.empty() || OnStack(formatting_.back().id); }
    // Opens again the active formatting elements closed by accident.
    void Reconstruct();
    // Closes a formatting element as HTML's adoption agency does, as far as the stack goes;
    // false when `name` is not in the list of formatting elements.
    bool Adopt(const TagName& name);

    std::vector<Element> open_;  // the open elements below `<html>`, `<head>` and `<body>`
    struct Formatting {
        TagName name;
        size_t id;
    };
    std::vector<Formatting> formatting_;  // the active formatting elements
    std::vector<uint8_t> alive_;          // by id: whether that element is open
    int pre_ = 0;                         // how many `<pre>` and `<listing>` are open
    int paragraphs_ = 0;                  // how many `<p>`
};
