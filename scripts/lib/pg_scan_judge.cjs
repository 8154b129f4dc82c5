// Judges the SQL lexer's results with PostgreSQL's own scanner (libpg-query): for each line
// "SOURCE\tRESULT" of LIST, prints one JSON line: null when the result's tokens are the source's
// without its comments and it holds no comment, "skipped" when the scanner cannot read the
// source itself, or what differs.
//
//   node pg_scan_judge.cjs LIST
const fs = require("fs");
const pg = require("libpg-query");

const COMMENTS = new Set(["SQL_COMMENT", "C_COMMENT"]);

function tokens(path) {
    const found = pg.scanSync(fs.readFileSync(path, "utf8")).tokens;
    return {
        code: found.filter((t) => !COMMENTS.has(t.tokenName)).map((t) => `${t.tokenType} ${t.text}`),
        comments: found.filter((t) => COMMENTS.has(t.tokenName)).length,
    };
}

async function main() {
    await pg.loadModule();
    const list = process.argv[2];
    for (const line of fs.readFileSync(list, "utf8").split("\n").filter(Boolean)) {
        const [source, result] = line.split("\t");
        let verdict = null;
        let before;
        try {
            before = tokens(source);
        } catch {
            console.log(JSON.stringify("skipped"));
            continue;
        }
        try {
            const after = tokens(result);
            const i = before.code.findIndex((token, k) => token !== after.code[k]);
            if (after.comments > 0) {
                verdict = `${after.comments} comments left`;
            } else if (i >= 0 || after.code.length !== before.code.length) {
                const at = i >= 0 ? i : before.code.length;
                verdict = `token ${at}: source ${before.code[at]}, result ${after.code[at]}`;
            }
        } catch (error) {
            verdict = `result cannot be scanned: ${error.message}`;
        }
        console.log(JSON.stringify(verdict));
    }
}

main();
