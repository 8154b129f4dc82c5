// Compares sources with their stripped results by the tokens of the language's own parser.
//
//   node corpus-tokens.mjs [--keep-header] LANGUAGE PAIRS_FILE
//
// PAIRS_FILE holds lines "source<TAB>result". For each pair whose tokens differ, or whose result
// still holds a comment the language's tools would not keep, one line
// "source<TAB>index<TAB>expected<TAB>actual" is printed; "source<TAB>skipped" for a source that
// does not parse. JavaScript and TypeScript are read by TypeScript's parser (so that regular
// expressions, templates and JSX are read in context), JSON by jsonc-parser, SCSS by postcss-scss
// (and Less too: the same tokens, `//` comments included),
// the others by their
// tree-sitter grammars. With --keep-header, comments before the result's first token may stay.
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";

const require = createRequire(import.meta.url);
const keepHeader = process.argv[2] === "--keep-header";
const [language, pairsFile] = process.argv.slice(keepHeader ? 3 : 2);

const crlf = (text) => text.replace(/\r\n?/g, "\n");

// JSX text means its words: lines are trimmed and blank ones dropped, as JSX reads them.
const jsxText = (text) =>
    crlf(text).split("\n").map((line) => line.trim()).filter((line) => line).join(" ");

function typeScriptTokens(name, text) {
    const ts = require("typescript");
    const kind = { javascript: ts.ScriptKind.JSX, typescript: ts.ScriptKind.TS,
                   tsx: ts.ScriptKind.TSX }[language];
    const file = ts.createSourceFile(name, text, ts.ScriptTarget.Latest, true, kind);
    const tokens = [];
    const comments = [];
    const visit = (node) => {
        if (node.kind >= ts.SyntaxKind.FirstJSDocNode && node.kind <= ts.SyntaxKind.LastJSDocNode) {
            return;
        }
        const children = node.getChildren(file);
        if (children.length > 0) {
            children.forEach(visit);
            return;
        }
        if (node.kind === ts.SyntaxKind.SyntaxList) {
            return;  // an empty list: no token, and the trivia is the next token's
        }
        const trivia = text.slice(node.getFullStart(), node.getStart(file));
        for (const line of trivia.split(/\r\n?|\n/)) {
            const kept = line.trim().startsWith("/// <reference") ||
                         (node.getFullStart() === 0 && line.startsWith("#!"));
            if (/\/[/*]/.test(line) && !kept) {
                comments.push({ text: line.trim(), lead: tokens.length === 0 });
            }
        }
        if (node.kind === ts.SyntaxKind.JsxText) {
            const words = jsxText(node.getText(file));
            if (words) {
                tokens.push(`JsxText ${words}`);
            }
        } else if (node.kind !== ts.SyntaxKind.EndOfFileToken) {
            tokens.push(`${ts.SyntaxKind[node.kind]} ${crlf(node.getText(file))}`);
        }
    };
    visit(file);
    return { tokens, comments, ok: file.parseDiagnostics.length === 0 };
}

function jsonTokens(name, text) {
    const { createScanner } = require("jsonc-parser");
    const scanner = createScanner(text, false);
    const tokens = [];
    const comments = [];
    let ok = true;
    for (let kind = scanner.scan(); kind !== 17; kind = scanner.scan()) {
        if (kind === 12 || kind === 13) {  // line and block comments
            comments.push({ text: scanner.getTokenValue(), lead: tokens.length === 0 });
        } else if (kind !== 14 && kind !== 15) {  // line breaks and white space
            tokens.push(`${kind} ${scanner.getTokenValue()}`);
        }
        ok = ok && scanner.getTokenError() === 0;
    }
    return { tokens, comments, ok };
}

function scssTokens(name, text) {
    const tokenize = require("postcss-scss/lib/scss-tokenize");
    const Input = require("postcss/lib/input");
    const tokens = [];
    const comments = [];
    let ok = true;
    try {
        const scanner = tokenize(new Input(text));
        while (!scanner.endOfFile()) {
            const [type, value] = scanner.nextToken();
            if (type === "comment") {
                comments.push({ text: value, lead: tokens.length === 0 });
            } else if (type !== "space") {
                tokens.push(`${type} ${crlf(value)}`);
            }
        }
    } catch {
        ok = false;
    }
    return { tokens, comments, ok };
}

const grammars = {
    csharp: "tree-sitter-c-sharp/tree-sitter-c_sharp.wasm",
    rust: "tree-sitter-rust/tree-sitter-rust.wasm",
    kotlin: "@tree-sitter-grammars/tree-sitter-kotlin/tree-sitter-kotlin.wasm",
    scala: "tree-sitter-scala/tree-sitter-scala.wasm",
    swift: "tree-sitter-wasms/out/tree-sitter-swift.wasm",
    dart: "tree-sitter-dart/tree-sitter-dart.wasm",
    css: "tree-sitter-css/tree-sitter-css.wasm",
};

// The Dart and Swift grammars' WebAssembly is built for the runtime's older interface.
async function treeSitterParser() {
    if (language === "dart" || language === "swift") {
        const Parser = require("web-tree-sitter-0.20");
        await Parser.init();
        const parser = new Parser();
        parser.setLanguage(await Parser.Language.load(require.resolve(grammars[language])));
        return parser;
    }
    const { Parser, Language } = await import("web-tree-sitter");
    await Parser.init();
    const parser = new Parser();
    parser.setLanguage(await Language.load(require.resolve(grammars[language])));
    return parser;
}

async function treeSitterReader() {
    const parser = await treeSitterParser();
    // The compilers read CR LF as LF, and so a backslash before CR LF as one before a line end.
    // A character beyond U+FFFF is read as U+FFFD: the runtime reads the text in pieces, and one
    // split between its two UTF-16 halves is lexed differently (seen with Rust's '𞣄').
    return (name, text) => {
        const tree = parser.parse(crlf(text).replace(/[\uD800-\uDBFF][\uDC00-\uDFFF]/g, "\uFFFD"));
        const tokens = [];
        const comments = [];
        const cursor = tree.walk();
        let done = false;
        while (!done) {
            // The older runtime has methods where the newer one has properties.
            const node = typeof cursor.currentNode === "function" ? cursor.currentNode()
                                                                  : cursor.currentNode;
            const leaf = cursor.nodeType.includes("comment") || node.childCount === 0;
            if (cursor.nodeType.includes("comment")) {
                comments.push({ text: node.text, lead: tokens.length === 0 });
            } else if (leaf && node.parent && node.text.trim()) {
                // Not the root of an empty file, nor the white space some grammars keep.
                let text = crlf(node.text);
                // Swift's grammar reads `#endif // x` as one directive; the compiler, as a comment.
                const comment = cursor.nodeType === "directive" ? text.search(/\/[/*]/) : -1;
                if (comment >= 0) {
                    comments.push({ text: text.slice(comment), lead: tokens.length === 0 });
                    text = text.slice(0, comment).trimEnd();
                }
                tokens.push(`${cursor.nodeType} ${text}`);
            }
            if (!leaf && cursor.gotoFirstChild()) {
                continue;
            }
            while (!cursor.gotoNextSibling()) {
                if (!cursor.gotoParent()) {
                    done = true;
                    break;
                }
            }
        }
        const hasError = tree.rootNode.hasError;
        const ok = !(typeof hasError === "function" ? hasError.call(tree.rootNode) : hasError);
        tree.delete();
        return { tokens, comments, ok };
    };
}

const read = ["javascript", "typescript", "tsx"].includes(language) ? typeScriptTokens
           : language === "json" ? jsonTokens
           : language === "scss" || language === "less" ? scssTokens
           : await treeSitterReader();

for (const line of readFileSync(pairsFile, "utf8").split("\n")) {
    if (!line) {
        continue;
    }
    const [source, result] = line.split("\t");
    const before = read(source, readFileSync(source, "utf8"));
    if (!before.ok) {
        console.log(`${source}\tskipped`);
        continue;
    }
    const after = read(result, readFileSync(result, "utf8"));
    const left = after.comments.filter((comment) => !(keepHeader && comment.lead));
    if (left.length > 0) {
        console.log(`${source}\t-1\tno comment\t${JSON.stringify(left[0].text)}`);
        continue;
    }
    const count = Math.max(before.tokens.length, after.tokens.length);
    for (let i = 0; i < count; ++i) {
        if (before.tokens[i] !== after.tokens[i]) {
            console.log(`${source}\t${i}\t${JSON.stringify(before.tokens[i])}\t` +
                        JSON.stringify(after.tokens[i]));
            break;
        }
    }
}
