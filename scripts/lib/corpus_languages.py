"""The corpus checks of the languages read by a lexer of their own, for scripts/corpus-check.

Each language's results are judged by its own tokenizer (scripts/lib/corpus-npm/corpus-tokens.mjs
for JavaScript, TypeScript, JSON and the tree-sitter grammars; scripts/lib/corpus-go for Go;
Groovy's own lexer from Debian's groovy in scripts/lib/corpus-groovy) over
real code the packages ship: the npm packages' own sources, Go's standard library, the Rust crates
Debian packages, the Kotlin, Swift and C# of npm packages for mobile apps, the Gradle scripts of
Android libraries, the Dart grammar's test corpus, an old Scala grammar's examples and test corpus.
"""
import os
import re
import shutil
import subprocess
import time

import corpus_tools

HERE = os.path.dirname(os.path.realpath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
NPM = os.path.join(REPO, "build", "corpus-npm")
MODULES = os.path.join(NPM, "node_modules")
CRATES = "/usr/share/cargo/registry"
PACKS = os.path.join(NPM, "packs")
# Debian's Rust crates whose sources are the Rust corpus.
RUST_PACKAGES = ["librust-syn-dev", "librust-regex-syntax-dev", "librust-serde-dev"]
# npm packages fetched only for the sources they ship: Kotlin and Swift (expo-modules-core), C#
# (react-native-windows), TSX and TypeScript (@tanstack/react-query, rxjs), Less (bootstrap 3),
# Scala (the Scala compiler's files among an old Scala grammar's examples, and its test corpus),
# Groovy (the Gradle scripts of React Native and Capacitor libraries, which ship Swift too), Swift
# (an old Swift grammar's test corpus and the app sources it highlights).
SOURCE_PACKAGES = ["expo-modules-core@58.2.1", "react-native-windows@0.84.0",
                   "@tanstack/react-query@5.108.4", "rxjs@7.8.2", "bootstrap@3.4.1",
                   "tree-sitter-scala@0.19.0", "@capacitor/android@7.4.3",
                   "react-native-reanimated@3.19.1",
                   "@react-native-community/cli-platform-android@12.3.7",
                   "react-native-gesture-handler@2.28.0", "react-native-screens@4.16.0",
                   "react-native-svg@15.12.1", "react-native-vector-icons@10.3.0",
                   "@sentry/react-native@6.20.0", "tree-sitter-swift@0.4.3"]


def install():
    """The tokenizers and the code they read: npm packages under build/, Debian's Go and crates."""
    corpus_tools.install_debian_packages(["golang-go", "groovy"] + RUST_PACKAGES)
    os.makedirs(NPM, exist_ok=True)
    installed = os.path.join(NPM, "package.json")
    wanted = os.path.join(HERE, "corpus-npm", "package.json")
    changed = not os.path.exists(installed) or open(installed).read() != open(wanted).read()
    shutil.copy(wanted, NPM)
    shutil.copy(os.path.join(HERE, "corpus-npm", "corpus-tokens.mjs"), NPM)
    if changed or not os.path.isdir(MODULES):
        subprocess.run(["npm", "install", "--no-audit", "--no-fund", "--legacy-peer-deps",
                        "--ignore-scripts"], cwd=NPM, check=True, stdout=subprocess.DEVNULL)
    listed = os.path.join(PACKS, "packages")
    if os.path.isdir(PACKS) and (not os.path.exists(listed) or
                                 open(listed).read() != "\n".join(SOURCE_PACKAGES)):
        shutil.rmtree(PACKS)
    if not os.path.isdir(PACKS):
        os.makedirs(PACKS + ".part", exist_ok=True)
        for package in SOURCE_PACKAGES:
            tarball = subprocess.run(["npm", "pack", "--silent", package], cwd=PACKS + ".part",
                                     check=True, capture_output=True, text=True).stdout.strip()
            folder = os.path.join(PACKS + ".part", tarball[:-len(".tgz")])
            os.makedirs(folder)
            subprocess.run(["tar", "xzf", os.path.join("..", tarball)], cwd=folder, check=True)
        with open(os.path.join(PACKS + ".part", "packages"), "w") as f:
            f.write("\n".join(SOURCE_PACKAGES))
        os.rename(PACKS + ".part", PACKS)


def files_under(folders, pattern, exclude=None):
    found = []
    for folder in folders:
        for d, _, names in os.walk(folder):
            found += [os.path.join(d, n) for n in names if re.search(pattern, n)
                      and not (exclude and re.search(exclude, os.path.join(d, n)))]
    return sorted(f for f in found if os.path.isfile(f) and not os.path.islink(f))


def corpus_extract(folder, source_folder, extension):
    """The code of a tree-sitter test corpus (=== title ===, code, ---, tree), one file each."""
    os.makedirs(folder, exist_ok=True)
    files = []
    for corpus in files_under([source_folder], r"\.txt$"):
        with open(corpus, encoding="utf-8", errors="surrogateescape") as f:
            text = f.read()
        for n, block in enumerate(re.split(r"^=+\n[^\n]*\n=+\n", text, flags=re.M)[1:]):
            path = os.path.join(folder, "%s-%d.%s" % (os.path.basename(corpus)[:-4], n, extension))
            with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
                f.write(block.split("\n---\n")[0])
            files.append(path)
    return files


def go_root():
    return subprocess.run(["go", "env", "GOROOT"], capture_output=True, text=True,
                          check=True).stdout.strip()


# name: (the files, the oracle)
def corpora(work):
    m = MODULES
    return {
        "go": (lambda: files_under([os.path.join(go_root(), "src")], r"\.go$"), "go"),
        "javascript": (lambda: files_under([m], r"\.(js|mjs|cjs)$", r"\.min\.js$"), "node"),
        "typescript": (lambda: files_under([m, PACKS], r"\.(ts|mts|cts)$"), "node"),
        "tsx": (lambda: files_under([PACKS], r"\.tsx$"), "node"),
        "csharp": (lambda: files_under([PACKS], r"\.cs$"), "node"),
        "kotlin": (lambda: files_under([PACKS], r"\.kts?$"), "node"),
        "swift": (lambda: files_under([PACKS], r"\.swift$") +
                  corpus_extract(os.path.join(work, "swift-corpus"),
                                 os.path.join(PACKS, "tree-sitter-swift-0.4.3", "package", "test",
                                              "corpus"), "swift"), "node"),
        "scala": (lambda: files_under([PACKS], r"\.scala$") +
                  corpus_extract(os.path.join(work, "scala-corpus"),
                                 os.path.join(PACKS, "tree-sitter-scala-0.19.0", "package",
                                              "corpus"), "scala"), "node"),
        "groovy": (lambda: files_under([PACKS], r"\.(groovy|gradle)$"), "groovy"),
        "rust": (lambda: files_under([CRATES], r"\.rs$"), "node"),
        "dart": (lambda: corpus_extract(os.path.join(work, "dart-corpus"),
                                        os.path.join(m, "tree-sitter-dart", "test"), "dart"),
                 "node"),
        "css": (lambda: files_under([m], r"\.css$", r"\.min\.css$"), "node"),
        "scss": (lambda: files_under([m], r"\.scss$"), "node"),
        "less": (lambda: files_under([PACKS], r"\.less$"), "node"),
        "json": (lambda: files_under([m], r"\.json$"), "node"),
    }


def oracle(kind, language, pairs, work, keep_header):
    listing = os.path.join(work, language + ".pairs")
    with open(listing, "w") as f:
        f.writelines("%s\t%s\n" % pair for pair in pairs)
    if kind == "go":
        binary = os.path.join(work, "corpus-go")
        subprocess.run(["go", "build", "-o", binary, "."], cwd=os.path.join(HERE, "corpus-go"),
                       check=True)
        command = [binary] + (["--keep-header"] if keep_header else []) + [listing]
    elif kind == "groovy":
        command = (["groovy", os.path.join(HERE, "corpus-groovy", "corpus-tokens.groovy")] +
                   (["--keep-header"] if keep_header else []) + [listing])
    else:
        command = (["node", os.path.join(NPM, "corpus-tokens.mjs")] +
                   (["--keep-header"] if keep_header else []) + [language, listing])
    # Groovy's launcher wants JAVA_HOME, and Debian's default-java link is not always there.
    java_home = os.path.dirname(os.path.dirname(os.path.realpath(shutil.which("java") or "/")))
    lines = subprocess.run(command, capture_output=True, text=True, check=True,
                           env=dict(os.environ, JAVA_HOME=java_home)).stdout
    return [line.split("\t") for line in lines.splitlines()]


def check(only, work, limit, keep_header, strip_all):
    """Runs the checks of the languages `only` names (all when None); returns the mismatches."""
    install()
    mismatches = 0
    for language, (files, kind) in corpora(work).items():
        if only not in (None, "languages", language):
            continue
        started = time.monotonic()
        os.makedirs(os.path.join(work, language), exist_ok=True)
        names = files()
        names = names[:limit] if limit else names
        pairs = strip_all(names, os.path.join(work, language + "-out"), keep_header)
        results = oracle(kind, language, pairs, work, keep_header)
        skipped = {r[0] for r in results if r[1] == "skipped"}
        failures = [r for r in results if r[1] != "skipped"]
        checked = [source for source, _ in pairs if source not in skipped]
        size = sum(os.path.getsize(source) for source in checked)
        print("%-10s files %6d  bytes %11d  mismatches %d  (%d not parsed by the oracle)  %.0f s"
              % (language, len(checked), size, len(failures), len(skipped),
                 time.monotonic() - started), flush=True)
        for failure in failures[:10]:
            print("  " + " | ".join(failure))
        mismatches += len(failures)
    return mismatches
