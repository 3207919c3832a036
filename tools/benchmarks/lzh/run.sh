# tools/bench lzh: the skin decoder's throughput on 1 MiB of mixed skin data
# and on the default skin, each against the textbook LZHUF decoder on the same
# stream (ratios taken round by round), and a full skin load.
bench_lzh() {
  tb_build_native bench_lzh
  "$root/build/bench-native/tools/benchmarks/lzh/bench_lzh" "$@"
}
