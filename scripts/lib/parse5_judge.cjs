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

const CODE = new Set(["script", "style"]);
// Elements whose text is shown with its white space, line ends and blank lines too.
const EXACT = new Set(["pre", "listing", "textarea", "xmp", "plaintext"]);

// The document as a list of nodes in order: elements with their attributes, text (adjacent
// pieces joined, as removing a comment between them joins them), and the comments apart.
function flatten(text) {
    const document = parse5.parse(text, { sourceCodeLocationInfo: true });
    const items = [];
    let comments = 0;
    let openAtEnd = null;
    let pendingText = "";
    let pendingExact = false;
    const flush = () => {
        const piece = pendingExact ? pendingText : pendingText.replace(/\s+/g, " ").trim();
        if (piece) {
            items.push(`text ${JSON.stringify(piece)}`);
        }
        pendingText = "";
        pendingExact = false;
    };
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
            flush();
            items.push(`declaration ${node.data}`);
            return;
        }
        if (node.nodeName === "#text") {
            pendingText += inCode ? "" : node.value;
            pendingExact = pendingExact || exact;
            return;
        }
        flush();
        if (node.tagName) {
            items.push(`<${node.tagName} ${JSON.stringify(node.attrs)}>`);
        } else {
            items.push(node.nodeName);
        }
        const children = node.content ? node.content.childNodes : node.childNodes || [];
        for (const child of children) {
            const html = node.namespaceURI === "http://www.w3.org/1999/xhtml";
            visit(child, CODE.has(node.tagName), exact || (html && EXACT.has(node.tagName)));
        }
        flush();
        if (node.tagName) {
            items.push(`</${node.tagName}>`);
        }
    };
    visit(document, false, false);
    flush();
    return { items, comments, openAtEnd };
}

function main() {
    const list = process.argv[2];
    // latin1 keeps every byte one character, so that offsets and texts are the bytes'.
    const read = (path) => fs.readFileSync(path).toString("latin1");
    for (const line of fs.readFileSync(list, "utf8").split("\n").filter(Boolean)) {
        const [source, result] = line.split("\t");
        const before = flatten(read(source));
        // A comment left open at the text's end takes its last line end: the line end the result
        // ends with stands for the white space before the comment where the passes took that
        // away at the line's end, or for nothing.
        const written = read(result);
        const body = written.replace(/\r?\n$/, "");
        const kept = before.openAtEnd !== null && body.endsWith(before.openAtEnd);
        const after = flatten(kept ? body : written);
        const i = before.items.findIndex((item, k) => item !== after.items[k]);
        let verdict = null;
        if (after.comments > 0) {
            verdict = `${after.comments} comments left`;
        } else if (i >= 0 || after.items.length !== before.items.length) {
            const at = i >= 0 ? i : before.items.length;
            verdict = `node ${at}: source ${before.items[at]}, result ${after.items[at]}`;
        }
        console.log(JSON.stringify(verdict && verdict.slice(0, 300)));
    }
}

main();
