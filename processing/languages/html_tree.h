// The part of HTML's tree construction that decides how its tokenizer reads on: which elements
// are open, in which namespace, so that a start tag's text is raw only where HTML rules apply to
// it, and `<![CDATA[` opens a section only in SVG and MathML. Elements whose text the tokenizer
// reads past (raw text) are never open here.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

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
    bool Start(std::string_view name, const Attributes& attributes, bool selfClosing, bool raw);
    void End(std::string_view name);
    // Text between the markup.
    void Text();
    // Whether the current node is SVG or MathML (where `<![CDATA[` opens a section).
    bool InForeign() const { return !open_.empty() && open_.back().space != Space::Html; }
    // Whether a `<pre>` or `<listing>` is open, whose text keeps its white space.
    bool InPre() const { return pre_ > 0; }

  private:
    struct Element {
        std::string_view name;
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
    bool HtmlRulesTake(bool startTag, std::string_view name) const;
    void HtmlStart(std::string_view name, unsigned flags, bool raw);
    void HtmlEnd(std::string_view name, unsigned flags);
    // Returns the new element's id, or npos when it is too deep to be kept track of.
    size_t Push(std::string_view name, unsigned flags, Space space, const Attributes& attributes);
    void Forget(const Element& element);
    void PopThrough(size_t index);
    void Erase(size_t index);
    // The index of the last open HTML element named `name` in its scope, or npos.
    size_t InScope(std::string_view name, bool button) const;
    bool OnStack(size_t id) const;
    void Reconstruct();
    // Closes a formatting element as HTML's adoption agency does, as far as the stack goes;
    // false when `name` is not in the list of formatting elements.
    bool Adopt(std::string_view name);

    std::vector<Element> open_;  // the open elements below `<html>`, `<head>` and `<body>`
    struct Formatting {
        std::string_view name;
        size_t id;
    };
    std::vector<Formatting> formatting_;  // the active formatting elements
    std::vector<bool> alive_;             // by id: whether that element is open
    int pre_ = 0;                         // how many `<pre>` and `<listing>` are open
    int paragraphs_ = 0;                  // how many `<p>`
};
