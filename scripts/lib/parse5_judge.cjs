// Judges the HTML lexer's results with parse5, the HTML parser that follows the WHATWG standard:
// for each line "SOURCE\tRESULT" of LIST, prints one JSON line: null when the result's document
// is the source's without its comments and holds none, or what differs. Declarations and
// processing instructions, which parse5 also gives as comment nodes, are not comments and stay.
// Text is compared with white space runs read as one space, but where HTML renders its white
// space (<pre>, <textarea> and their kin); the text of <script> and <style> is left to the checks
// of those languages.
//
//   node parse5_judge.cjs LIST
const fs = require("fs");
const parse5 = require("parse5");
const { judgePairs, Items, compareItems } = require("./judge_pairs.cjs");

const CODE = new Set(["script", "style"]);
// Elements whose text is shown with its white space, line ends and blank lines too.
const EXACT = new Set(["pre", "listing", "textarea", "xmp", "plaintext"]);

// The document as a list of nodes in order: elements with their attributes, text (adjacent
// pieces joined, as removing a comment between them joins them), and the comments apart.
function flatten(text) {
    const document = parse5.parse(text, { sourceCodeLocationInfo: true });
    const items = new Items();
    let comments = 0;
    let openAtEnd = null;
    const visit = (node, inCode, exact) => {
        if (node.nodeName === "#comment") {
            const at = node.sourceCodeLocation;
            if (at && text.startsWith("<!--", at.startOffset)) {
                // Some stay, where removing them would change what stands around them: one right
                // after a `<` of text that a name (or `!`, `/`, `?`) follows (the two would be
                // markup), and one first in a <pre> or <listing> that a line end follows (HTML
                // would drop the line end).
                const joins = (text[at.startOffset - 1] === "<" &&
                    /[A-Za-z!/?]/.test(text[at.endOffset] || "")) ||
                    (/<(pre|listing)(\s[^>]*)?>$/i.test(text.slice(0, at.startOffset)) &&
                     /[\r\n]/.test(text[at.endOffset] || ""));
                comments += joins ? 0 : 1;
                // Left open at the text's end: the white space before it.
                openAtEnd = at.endOffset >= text.length && !/--!?>$/.test(text)
                    ? /\s*$/.exec(text.slice(0, at.startOffset))[0] : null;
                return;
            }
            items.push(`declaration ${node.data}`);
            return;
        }
        if (node.nodeName === "#text") {
            items.text(inCode ? "" : node.value, exact);
            return;
        }
        const opening = node.tagName && `<${node.tagName} ${JSON.stringify(node.attrs)}>`;
        items.push(opening || node.nodeName);
        const children = node.content ? node.content.childNodes : node.childNodes || [];
        for (const child of children) {
            const html = node.namespaceURI === "http://www.w3.org/1999/xhtml";
            visit(child, CODE.has(node.tagName), exact || (html && EXACT.has(node.tagName)));
        }
        items.flush();
        if (node.tagName) {
            items.push(`</${node.tagName}>`);
        }
    };
    visit(document, false, false);
    return { items: items.done(), comments, openAtEnd };
}

// latin1 keeps every byte one character, so that offsets and texts are the bytes'.
const read = (path) => fs.readFileSync(path).toString("latin1");
judgePairs(process.argv[2], (source, result) => {
    const before = flatten(read(source));
    // A comment left open at the text's end takes its last line end: the line end the result
    // ends with stands for the white space before the comment where the passes took that away at
    // the line's end, or for nothing.
    const written = read(result);
    const body = written.replace(/\r?\n$/, "");
    const kept = before.openAtEnd !== null && body.endsWith(before.openAtEnd);
    return compareItems(before, flatten(kept ? body : written));
});
