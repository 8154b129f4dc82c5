// Judges the HTML lexer's results with parse5, the HTML parser that follows the WHATWG standard:
// for each line "SOURCE\tRESULT" of LIST, prints one JSON line: null when the result's document
// is the source's without its comments and holds none, or what differs. Declarations and
// processing instructions, which parse5 also gives as comment nodes, are not comments and stay.
// Text is compared with white space runs read as one space; the text of <script> and <style> is
// left to the checks of those languages.
//
//   node parse5_judge.cjs LIST
const fs = require("fs");
const parse5 = require("parse5");
const { judgePairs, Items, compareItems } = require("./judge_pairs.cjs");

const CODE = new Set(["script", "style"]);

// The document as a list of nodes in order: elements with their attributes, text (adjacent
// pieces joined, as removing a comment between them joins them), and the comments apart.
function flatten(text) {
    const document = parse5.parse(text, { sourceCodeLocationInfo: true });
    const items = new Items();
    let comments = 0;
    const visit = (node, inCode) => {
        if (node.nodeName === "#comment") {
            const at = node.sourceCodeLocation;
            if (at && text.startsWith("<!--", at.startOffset)) {
                comments++;
                return;
            }
            items.push(`declaration ${node.data}`);
            return;
        }
        if (node.nodeName === "#text") {
            items.text(inCode ? "" : node.value);
            return;
        }
        const opening = node.tagName && `<${node.tagName} ${JSON.stringify(node.attrs)}>`;
        items.push(opening || node.nodeName);
        const children = node.content ? node.content.childNodes : node.childNodes || [];
        for (const child of children) {
            visit(child, CODE.has(node.tagName));
        }
        items.flush();
        if (node.tagName) {
            items.push(`</${node.tagName}>`);
        }
    };
    visit(document, false);
    return { items: items.done(), comments };
}

// latin1 keeps every byte one character, so that offsets and texts are the bytes'.
const read = (path) => fs.readFileSync(path).toString("latin1");
judgePairs(process.argv[2], (source, result) =>
    compareItems(flatten(read(source)), flatten(read(result))));
