# tools/bench lzh: the skin decoder's throughput on 1 MiB of mixed skin data
# with gzip -d of the same bytes as the reference, and a full skin load.
bench_lzh() {
  tb_build_native bench_lzh
  "$root/build/bench-native/tools/benchmarks/lzh/bench_lzh" "$@"
}
