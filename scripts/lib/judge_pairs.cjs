// What the node judges share: the walk over the list of pairs, and the documents read as lists of
// items (markup parsers: parse5_judge.cjs, vue_judge.cjs) and compared.
const fs = require("fs");

// For each line "SOURCE\tRESULT" of the list, prints judge(source, result)'s verdict as one JSON
// line: null when the result is right, "skipped" when the judge cannot read the source itself, or
// what differs.
async function judgePairs(list, judge) {
    for (const line of fs.readFileSync(list, "utf8").split("\n").filter(Boolean)) {
        const [source, result] = line.split("\t");
        console.log(JSON.stringify(await judge(source, result)));
    }
}

// A document's items in order, text pieces that meet taken as one (as removing a comment between
// them joins them), with white space runs read as one space unless a piece is `exact` (shown with
// its white space, as in <pre>).
class Items {
    constructor() {
        this.items = [];
        this.pendingText = "";
        this.pendingExact = false;
    }

    text(piece, exact = false) {
        this.pendingText += piece;
        this.pendingExact = this.pendingExact || exact;
    }

    push(item) {
        this.flush();
        this.items.push(item);
    }

    flush() {
        const text = this.pendingText;
        const piece = this.pendingExact ? text : text.replace(/\s+/g, " ").trim();
        if (piece) {
            this.items.push(`text ${JSON.stringify(piece)}`);
        }
        this.pendingText = "";
        this.pendingExact = false;
    }

    done() {
        this.flush();
        return this.items;
    }
}

// null when the result's items are the source's and it holds no comment; else what differs.
function compareItems(before, after) {
    let verdict = null;
    const i = before.items.findIndex((item, k) => item !== after.items[k]);
    if (after.comments > 0) {
        verdict = `${after.comments} comments left`;
    } else if (i >= 0 || after.items.length !== before.items.length) {
        const at = i >= 0 ? i : before.items.length;
        verdict = `node ${at}: source ${before.items[at]}, result ${after.items[at]}`;
    }
    return verdict && verdict.slice(0, 300);
}

module.exports = { judgePairs, Items, compareItems };
