// Judges a lexer's results with a tree-sitter grammar: for each line "SOURCE\tRESULT" of LIST,
// prints one JSON line: null when the result is the source without the grammar's comment nodes
// (white space runs read as one space) and holds no comment but a `#!` line, "skipped" when the
// grammar cannot read the source itself, or what differs. Texts are compared rather than trees:
// the grammar's reading of an unchanged command can depend on where the last comment was.
//
//   node tree_sitter_judge.cjs GRAMMAR.wasm LIST
const fs = require("fs");
const { Parser, Language } = require("web-tree-sitter");
const { judgePairs } = require("./judge_pairs.cjs");

// The comments of a parsed text, apart from a `#!` line, and whether the grammar could read it.
function comments(tree, text) {
    const found = [];
    let errors = false;
    const visit = (node) => {
        errors ||= node.isError || node.isMissing;
        if (node.type === "comment" && !(node.startIndex === 0 && text.startsWith("#!"))) {
            found.push([node.startIndex, node.endIndex]);
            return;
        }
        for (const child of node.children) {
            visit(child);
        }
    };
    visit(tree.rootNode);
    return { found, errors };
}

function withoutComments(text, found) {
    let out = "";
    let kept = 0;
    for (const [begin, end] of found) {
        out += text.slice(kept, begin) + " ";
        kept = end;
    }
    return out + text.slice(kept);
}

const normal = (text) => text.replace(/\s+/g, " ").trim();

function firstDifference(a, b) {
    let i = 0;
    while (i < a.length && i < b.length && a[i] === b[i]) {
        i++;
    }
    return `at ${i}: source ${JSON.stringify(a.slice(i, i + 40))}, ` +
           `result ${JSON.stringify(b.slice(i, i + 40))}`;
}

async function main() {
    const [grammar, list] = process.argv.slice(2);
    await Parser.init();
    const parser = new Parser();
    parser.setLanguage(await Language.load(grammar));
    // The byte offsets tree-sitter reports are those of the text as read here: latin1 keeps one
    // character per byte.
    const read = (path) => fs.readFileSync(path).toString("latin1");
    return judgePairs(list, (source, result) => {
        const sourceText = read(source);
        const resultText = read(result);
        const before = comments(parser.parse(sourceText), sourceText);
        const after = comments(parser.parse(resultText), resultText);
        const expected = normal(withoutComments(sourceText, before.found));
        if (before.errors) {
            return "skipped";
        }
        if (after.found.length > 0) {
            return `${after.found.length} comments left`;
        }
        const actual = normal(resultText);
        return expected !== actual ? firstDifference(expected, actual) : null;
    });
}

main();
