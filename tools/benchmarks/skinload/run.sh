# tools/bench skinload: under Wine, the default skin (or a synthetic one of
# the same make-up while skins/default does not exist) loaded from SkinStream
# into TSkinData against decoding the container alone, the GDI objects the
# loaded skin holds, and DrawSkinPart of its 600 x 30 title cell against BitBlt,
# cached (the rendering kept) and uncached (the skin's renderings dropped);
# min, median and max of each time, ratios of the medians.
bench_skinload() {
  tb_build_windows bench-skinload
  tb_wine "$root/build/bench-windows/tools/benchmarks/skinload/bench-skinload.exe" "$root" "$@" | tr -d '\r'
}
