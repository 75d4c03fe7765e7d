// The floor for a batch run of olmwiz: a program that only creates an
// offscreen QApplication and exits. end_to_end_bench times the two alternately.

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);  // as olmwiz does in batch runs without a display
    const QApplication app(argc, argv);
    return 0;
}
