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
const { judgePairs, Items, compareItems } = require("./judge_pairs.cjs");

const COMMENT = 3;
const TEXT = 2;

function flatten(text) {
    const { descriptor, errors } = parse(text, { comments: true });
    const items = new Items();
    let comments = 0;
    const visit = (node) => {
        if (node.type === COMMENT) {
            comments++;
            return;
        }
        if (node.type === TEXT) {
            items.text(node.content);
            return;
        }
        const props = (node.props || []).map((p) => p.loc.source);
        const content = node.content && node.content.content;
        items.push(`${node.type} ${node.tag || ""} ${JSON.stringify(props)} ${content || ""}`);
        for (const child of node.children || []) {
            visit(child);
        }
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
    return { items: items.done(), comments, errors: errors.length > 0 };
}

const read = (path) => fs.readFileSync(path, "utf8");
judgePairs(process.argv[2], (source, result) => {
    const before = flatten(read(source));
    return before.errors ? "skipped" : compareItems(before, flatten(read(result)));
});
