#pragma once

#include "kit/Olm_CoreSymbol.h"
#include "shared/OlmBaseExport.h"

#include <string>
#include <utility>
#include <vector>

// The layout of a core symbol (Olm_CoreSymbol) as plain shapes in a plane of
// pixels (x to the right, y downwards), so that the SVG file and the window
// draw the same picture. Without Qt.
//
// The box carries the core's name above it; the inputs stand on its left,
// the outputs and bidirectional ports on its right, each side in the groups
// clocks, resets, serial lines, control/status, data, each group under its
// name. A port is a short line outside the box with an arrow for its
// direction; a vector port has a slash across its line and its width beside
// it. Below the box,
// when the symbol has waveforms, each output clock is drawn over one period
// of the slowest, with its name, period, phase and duty.
//
// Text widths are estimated for a monospace font (kCharWidth of the size per
// character), so the layout needs no font metrics.
class OLM_BASE_EXPORT Olm_SymbolDrawing {
public:
    struct Shape {
        enum class Kind { Rect, Line, Polyline, Text };
        enum class Anchor { Start, Middle, End };
        Kind kind = Kind::Line;
        // Rect: x, y, width, height; Line: x1, y1, x2, y2; Polyline: x, y pairs;
        // Text: the baseline point x, y.
        std::vector<double> points;
        std::string text;
        double size = 0.0;  // Text: font size in pixels
        Anchor anchor = Anchor::Start;
        bool bold = false;
        std::string stroke = "#000000";  // Rect, Line, Polyline; the colour of Text
        std::string fill;                // Rect: empty for none
    };

    static constexpr double kCharWidth = 0.6;
    // Cycles of a clock drawn at most; a faster clock is drawn as a band.
    static constexpr int kMaxCycles = 200;

    explicit Olm_SymbolDrawing(const Olm_CoreSymbol& symbol);

    double Width() const { return m_width; }
    double Height() const { return m_height; }
    const std::vector<Shape>& Shapes() const { return m_shapes; }

    // The outline of a clock over time 0 to span (ns), mapped onto x from x0
    // to x0 + width with the low level at yLow and the high level at yHigh:
    // the points of a polyline, one pair per level change and the ends. A
    // period that is not positive, or more than kMaxCycles cycles in span,
    // gives no points; the phase counts modulo 360 degrees, the duty is held
    // to 0 to 1.
    static std::vector<std::pair<double, double>> WavePoints(const Olm_ClockWave& wave, double span, double x0,
                                                             double width, double yLow, double yHigh);

private:
    void Text(double x, double y, std::string text, double size, Shape::Anchor anchor, bool bold = false,
              std::string colour = "#000000");
    void Line(double x1, double y1, double x2, double y2, std::string colour = "#000000");
    void Polyline(std::vector<double> points, std::string colour = "#000000");
    void Rect(double x, double y, double w, double h, std::string stroke, std::string fill);
    void DrawWaves(const Olm_CoreSymbol& symbol, double top);

    double m_width = 0.0;
    double m_height = 0.0;
    std::vector<Shape> m_shapes;
};
