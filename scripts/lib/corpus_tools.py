"""The npm packages the corpus checks judge with, installed once into the build folder."""
import json
import os
import shutil
import subprocess
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.realpath(__file__))))
TOOLS = os.path.join(REPO, "build/corpus-tools")
PACKAGES = ["web-tree-sitter@0.27.2", "tree-sitter-bash@0.25.1", "parse5@8.1.1",
            "libpg-query@18.1.5", "@vue/compiler-sfc@3.5.13", "element-ui@2.15.14"]
HERE = os.path.dirname(os.path.realpath(__file__))


# The judges that come from Debian (php-cli, xmllint, node and npm) and PHP code for them to read.
DEBIAN_PACKAGES = ["php-cli", "libxml2-utils", "nodejs", "npm", "php-symfony",
                   "php-laravel-framework", "php-league-commonmark", "php-twig", "php-phpseclib3",
                   "php-monolog"]


def install_debian_packages(packages=DEBIAN_PACKAGES):
    """Installs those of the Debian packages the machine lacks. A Node.js that ships its own npm
    conflicts with Debian's npm package, so an npm already on the path is enough."""
    missing = [p for p in packages
               if not (p == "npm" and shutil.which("npm")) and
               subprocess.run(["dpkg-query", "-W", "-f=${Status}", p], capture_output=True,
                              text=True).stdout != "install ok installed"]
    if missing:
        env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
        subprocess.run(["apt-get", "update", "-q"], check=True, stdout=subprocess.DEVNULL, env=env)
        subprocess.run(["apt-get", "install", "-y", "-q"] + missing, check=True,
                       stdout=subprocess.DEVNULL, env=env)


def install():
    """Installs the packages (once); returns their node_modules folder."""
    install_debian_packages()
    modules = os.path.join(TOOLS, "node_modules")
    if not all(os.path.isdir(os.path.join(modules, p.rsplit("@", 1)[0])) for p in PACKAGES):
        os.makedirs(TOOLS, exist_ok=True)
        subprocess.run(["npm", "install", "--prefix", TOOLS, "--no-audit", "--no-fund"] +
                       PACKAGES, check=True, stdout=subprocess.DEVNULL)
    return modules


def judge(script, arguments, pairs, pool):
    """Runs a node judge (scripts/lib/SCRIPT) over the pairs, in two halves side by side; each
    prints one JSON verdict a pair."""
    modules = install()
    halves = [pairs[:len(pairs) // 2], pairs[len(pairs) // 2:]]
    return sum(pool.starmap(_run, [(script, arguments, half, modules) for half in halves]), [])


def _run(script, arguments, pairs, modules):
    if not pairs:
        return []
    with tempfile.NamedTemporaryFile("w", suffix=".list") as listing:
        listing.write("".join("%s\t%s\n" % pair for pair in pairs))
        listing.flush()
        run = subprocess.run(["node", os.path.join(HERE, script)] + arguments + [listing.name],
                             capture_output=True, text=True, check=True,
                             env=dict(os.environ, NODE_PATH=modules))
    verdicts = [json.loads(line) for line in run.stdout.splitlines()]
    return [v if v in (None, "skipped") else (source, v) for (source, _), v in zip(pairs, verdicts)]
