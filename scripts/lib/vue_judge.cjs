// Judges the Vue lexer's results with Vue's own single-file component parser
// (@vue/compiler-sfc): for each line "SOURCE\tRESULT" of LIST, prints one JSON line: null when
// the result's template is the source's without its comments and holds none, and its blocks are
// the source's, "skipped" when the parser cannot read the source itself, or what differs. Text is
// compared with white space runs read as one space; the code in <script> and <style> is left to
// the checks of those languages.
//
//   node vue_judge.cjs LIST
const fs = require("fs");
const { parse } = require("@vue/compiler-sfc");

const COMMENT = 3;
const TEXT = 2;

function flatten(text) {
    const { descriptor, errors } = parse(text, { comments: true });
    const items = [];
    let comments = 0;
    let pendingText = "";
    const flush = () => {
        const piece = pendingText.replace(/\s+/g, " ").trim();
        if (piece) {
            items.push(`text ${piece}`);
        }
        pendingText = "";
    };
    const visit = (node) => {
        if (node.type === COMMENT) {
            comments++;
            return;
        }
        if (node.type === TEXT) {
            pendingText += node.content;
            return;
        }
        flush();
        const props = (node.props || []).map((p) => p.loc.source);
        const content = node.content && node.content.content;
        items.push(`${node.type} ${node.tag || ""} ${JSON.stringify(props)} ${content || ""}`);
        for (const child of node.children || []) {
            visit(child);
        }
        flush();
        items.push("end");
    };
    if (descriptor.template && descriptor.template.ast) {
        visit(descriptor.template.ast);
    }
    for (const block of [descriptor.script, descriptor.scriptSetup, ...descriptor.styles]) {
        if (block) {
            items.push(`${block.type} ${JSON.stringify(block.attrs)}`);
        }
    }
    for (const block of descriptor.customBlocks) {
        items.push(`${block.type} ${JSON.stringify(block.attrs)} ${block.content}`);
    }
    return { items, comments, errors: errors.length > 0 };
}

function main() {
    const list = process.argv[2];
    const read = (path) => fs.readFileSync(path, "utf8");
    for (const line of fs.readFileSync(list, "utf8").split("\n").filter(Boolean)) {
        const [source, result] = line.split("\t");
        const before = flatten(read(source));
        const after = flatten(read(result));
        const i = before.items.findIndex((item, k) => item !== after.items[k]);
        let verdict = null;
        if (before.errors) {
            verdict = "skipped";
        } else if (after.comments > 0) {
            verdict = `${after.comments} comments left`;
        } else if (i >= 0 || after.items.length !== before.items.length) {
            const at = i >= 0 ? i : before.items.length;
            verdict = `node ${at}: source ${before.items[at]}, result ${after.items[at]}`;
        }
        console.log(JSON.stringify(verdict && verdict.slice(0, 300)));
    }
}

main();
