# Sourced by the scripts: the one job count, and the web edition's build.
# ZELTANO_JOBS overrides the job count (default: one per processor core).
jobs=${ZELTANO_JOBS:-$(nproc)}

# Builds the WebAssembly preset (page and node evaluator) and installs the
# browser-test tools from the committed lockfile; no browser is downloaded.
build_web() {
  scripts/install-deps web
  cmake --preset wasm >/dev/null
  cmake --build --preset wasm -j "$jobs"
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
}
