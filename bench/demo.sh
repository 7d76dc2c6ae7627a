# Sourced by the benchmark scripts: sets DEMO to the content they drive, $KESTREL_DEMO_DIR or the
# full demo made once into $BUILD/demo-full, and LINE and TRAIN to the drive's line and train.
DEMO=${KESTREL_DEMO_DIR:-$BUILD/demo-full}
if [ ! -f "$DEMO/railvane.dat" ]; then
  echo "== making the full demo in $DEMO"
  "$BUILD/src/tools/kestrel-make-demo" "$DEMO" >/dev/null
fi
LINE=line_rapid.dat
TRAIN=train_313-1000_8cars.dat
