# tools/bench serial: throughput of TComm's receive path against a bare
# overlapped ReadFile loop on the same pty pair under Wine and against that
# loop handing each chunk to the GUI thread by a post, bytes lost, and the
# delay from a short write to its OnReceiveData once the line is quiet. Ratios
# are taken within each of five rounds; each figure prints as min, median, max.
bench_serial() {
  tb_build_windows bench-serial
  tb_wine "$root/build/bench-windows/tools/benchmarks/serial/bench-serial.exe" "$@" | tr -d '\r'
}
