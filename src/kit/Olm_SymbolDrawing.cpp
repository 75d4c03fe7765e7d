#include "kit/Olm_SymbolDrawing.h"

#include "pal/StrUtil.h"

#include <algorithm>
#include <cmath>

namespace {

using Group = Olm_CoreSymbol::Group;
using Anchor = Olm_SymbolDrawing::Shape::Anchor;

constexpr double kMargin = 4.0;
constexpr double kStub = 28.0;     // a port's line outside the box
constexpr double kPad = 8.0;       // inside the box
constexpr double kGap = 16.0;      // between the left and the right names
constexpr double kMinBox = 100.0;
constexpr double kTitleSize = 12.0;
constexpr double kPortSize = 11.0;
constexpr double kSmallSize = 9.0;
constexpr double kPortRow = 16.0;
constexpr double kGroupRow = 13.0;
constexpr double kGroupGap = 4.0;
constexpr double kArrow = 6.0;
constexpr double kWaveRow = 30.0;
constexpr double kMinWave = 160.0;
const char* const kGrey = "#666666";
const char* const kBlue = "#1f4e9a";

double TextWidth(const std::string& text, double size) {
    // Bytes after the first of a UTF-8 character take no room of their own.
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    return static_cast<double>(chars) * size * Olm_SymbolDrawing::kCharWidth;
}

// The groups of one side of the box, in the order they are drawn.
constexpr Group kLeftGroups[] = {Group::Clock, Group::Reset, Group::Serial, Group::Control, Group::DataIn};
constexpr Group kRightGroups[] = {Group::Clock, Group::Reset, Group::Serial, Group::Control, Group::DataOut};

bool OnLeft(const Olm_CoreSymbol::Port& port) { return port.dir == Olm_HdlDir::kIn; }

struct Side {
    struct Row {
        const Olm_CoreSymbol::Port* port = nullptr;  // null: a group's name
        Group group = Group::Control;
    };
    std::vector<Row> rows;
    double textWidth = 0.0;
};

template <std::size_t N>
Side SideOf(const Olm_CoreSymbol& symbol, bool left, const Group (&groups)[N]) {
    Side side;
    for (const Group group : groups) {
        bool named = false;
        for (const Olm_CoreSymbol::Port& port : symbol.Ports()) {
            if (OnLeft(port) != left || port.group != group) continue;
            if (!named) {
                side.rows.push_back({nullptr, group});
                side.textWidth = std::max(side.textWidth, TextWidth(Olm_CoreSymbol::GroupName(group), kSmallSize));
                named = true;
            }
            side.rows.push_back({&port, group});
            side.textWidth = std::max(side.textWidth, TextWidth(port.name, kPortSize));
        }
    }
    return side;
}

double SideHeight(const Side& side) {
    double height = 0.0;
    for (std::size_t i = 0; i < side.rows.size(); ++i) {
        if (side.rows[i].port) height += kPortRow;
        else height += kGroupRow + (i > 0 ? kGroupGap : 0.0);
    }
    return height;
}

std::string WaveLabel(const Olm_ClockWave& wave) {
    return Pal::StrUtil::FormatNumber(wave.periodNs, 3) + " ns, " + Pal::StrUtil::FormatNumber(wave.phaseDeg, 3) +
           "\u00B0, " + Pal::StrUtil::FormatNumber(wave.duty * 100.0, 2) + "%";
}

}  // namespace

Olm_SymbolDrawing::Olm_SymbolDrawing(const Olm_CoreSymbol& symbol) {
    const Side left = SideOf(symbol, true, kLeftGroups);
    const Side right = SideOf(symbol, false, kRightGroups);
    const double boxX = kMargin + kStub;
    const double boxW = std::max({kPad + left.textWidth + kGap + right.textWidth + kPad,
                                  TextWidth(symbol.Name(), kTitleSize) + 2 * kPad, kMinBox});
    const double titleY = kMargin + kTitleSize;
    const double boxY = titleY + 6.0;
    const double boxH = std::max(SideHeight(left), SideHeight(right)) + 2 * kPad;
    const double boxRight = boxX + boxW;
    m_width = boxRight + kStub + kMargin;

    Text(boxX + boxW / 2, titleY, symbol.Name(), kTitleSize, Anchor::Middle, true);
    Rect(boxX, boxY, boxW, boxH, "#000000", "#f4f6fb");
    for (const bool onLeft : {true, false}) {
        const Side& side = onLeft ? left : right;
        double y = boxY + kPad;
        for (std::size_t i = 0; i < side.rows.size(); ++i) {
            const Side::Row& row = side.rows[i];
            if (!row.port) {
                if (i > 0) y += kGroupGap;
                Text(onLeft ? boxX + kPad : boxRight - kPad, y + kSmallSize, Olm_CoreSymbol::GroupName(row.group),
                     kSmallSize, onLeft ? Anchor::Start : Anchor::End, false, kGrey);
                y += kGroupRow;
                continue;
            }
            const Olm_CoreSymbol::Port& port = *row.port;
            const double yc = y + kPortRow / 2;
            const double outer = onLeft ? kMargin : boxRight + kStub;
            const double inner = onLeft ? boxX : boxRight;
            Line(outer, yc, inner, yc);
            // The arrow points the way the signal goes: into the box for an
            // input, out of it for an output, both ways for a bidirectional port.
            if (port.dir == Olm_HdlDir::kIn) {
                Polyline({boxX - kArrow, yc - kArrow / 2, boxX, yc, boxX - kArrow, yc + kArrow / 2});
            } else {
                Polyline({outer - kArrow, yc - kArrow / 2, outer, yc, outer - kArrow, yc + kArrow / 2});
                if (port.dir == Olm_HdlDir::kInout)
                    Polyline({boxRight + kArrow, yc - kArrow / 2, boxRight, yc, boxRight + kArrow, yc + kArrow / 2});
            }
            if (port.isVector || port.width > 1) {
                const double mid = (outer + inner) / 2;
                Line(mid - 3, yc + 4, mid + 3, yc - 4);
                Text(mid, yc - 5, std::to_string(port.width), kSmallSize, Anchor::Middle, false, kBlue);
            }
            Text(onLeft ? boxX + kPad : boxRight - kPad, yc + kPortSize * 0.35, port.name, kPortSize,
                 onLeft ? Anchor::Start : Anchor::End);
            y += kPortRow;
        }
    }
    m_height = boxY + boxH + kMargin;
    if (!symbol.Waves().empty()) DrawWaves(symbol, m_height + 14.0);
}

void Olm_SymbolDrawing::DrawWaves(const Olm_CoreSymbol& symbol, double top) {
    double span = 0.0;
    double labelWidth = 0.0;
    for (const Olm_ClockWave& wave : symbol.Waves()) {
        if (std::isfinite(wave.periodNs)) span = std::max(span, wave.periodNs);
        labelWidth = std::max({labelWidth, TextWidth(wave.name, 10.0), TextWidth(WaveLabel(wave), kSmallSize)});
    }
    const double waveX = kMargin + labelWidth + 10.0;
    m_width = std::max(m_width, waveX + kMinWave + kMargin);
    const double waveW = m_width - waveX - kMargin;
    Text(kMargin, top, "Output clocks over " + Pal::StrUtil::FormatNumber(span, 3) + " ns", 10.0, Anchor::Start, true);
    double row = top + 6.0;
    const double bottom = row + kWaveRow * static_cast<double>(symbol.Waves().size());
    Line(waveX, row, waveX, bottom, "#bbbbbb");
    Line(waveX + waveW, row, waveX + waveW, bottom, "#bbbbbb");
    for (const Olm_ClockWave& wave : symbol.Waves()) {
        Text(kMargin, row + 12.0, wave.name, 10.0, Anchor::Start);
        Text(kMargin, row + 24.0, WaveLabel(wave), kSmallSize, Anchor::Start, false, kGrey);
        const double yHigh = row + 6.0;
        const double yLow = row + 24.0;
        const auto points = WavePoints(wave, span, waveX, waveW, yLow, yHigh);
        if (points.empty()) {
            // Too fast to draw at this scale, or no period: a band.
            Rect(waveX, yHigh, waveW, yLow - yHigh, "#bbbbbb", "#e6e6e6");
        } else {
            std::vector<double> flat;
            for (const auto& [x, y] : points) {
                flat.push_back(x);
                flat.push_back(y);
            }
            Polyline(std::move(flat), kBlue);
        }
        row += kWaveRow;
    }
    Text(waveX, bottom + 10.0, "0", kSmallSize, Anchor::Start, false, kGrey);
    Text(waveX + waveW, bottom + 10.0, Pal::StrUtil::FormatNumber(span, 3) + " ns", kSmallSize, Anchor::End, false,
         kGrey);
    m_height = bottom + 10.0 + kMargin;
}

std::vector<std::pair<double, double>> Olm_SymbolDrawing::WavePoints(const Olm_ClockWave& wave, double span, double x0,
                                                                   double width, double yLow, double yHigh) {
    const double period = wave.periodNs;
    if (!(period > 0.0) || !std::isfinite(period) || !(span > 0.0) || !std::isfinite(span) ||
        span / period > kMaxCycles)
        return {};
    const double duty = std::isfinite(wave.duty) ? std::clamp(wave.duty, 0.0, 1.0) : 0.5;
    double phase = std::isfinite(wave.phaseDeg) ? std::fmod(wave.phaseDeg, 360.0) : 0.0;
    if (phase < 0.0) phase += 360.0;
    const double rise = phase / 360.0 * period;  // the first rising edge, in [0, period)
    const double high = duty * period;
    const auto x = [&](double t) { return x0 + t / span * width; };
    const auto levelAt = [&](double t) {
        double into = std::fmod(t - rise, period);
        if (into < 0.0) into += period;
        return into < high;
    };
    std::vector<std::pair<double, double>> points;
    bool level = levelAt(0.0);
    points.emplace_back(x(0.0), level ? yHigh : yLow);
    if (duty > 0.0 && duty < 1.0) {
        std::vector<std::pair<double, bool>> edges;
        for (double start = rise - period; start < span; start += period) {
            edges.emplace_back(start, true);
            edges.emplace_back(start + high, false);
        }
        std::sort(edges.begin(), edges.end());
        for (const auto& [t, to] : edges) {
            if (t <= 0.0 || t >= span || to == level) continue;
            points.emplace_back(x(t), level ? yHigh : yLow);
            level = to;
            points.emplace_back(x(t), level ? yHigh : yLow);
        }
    }
    points.emplace_back(x(span), level ? yHigh : yLow);
    return points;
}

void Olm_SymbolDrawing::Text(double x, double y, std::string text, double size, Shape::Anchor anchor, bool bold,
                             std::string colour) {
    Shape shape;
    shape.kind = Shape::Kind::Text;
    shape.points = {x, y};
    shape.text = std::move(text);
    shape.size = size;
    shape.anchor = anchor;
    shape.bold = bold;
    shape.stroke = std::move(colour);
    m_shapes.push_back(std::move(shape));
}

void Olm_SymbolDrawing::Line(double x1, double y1, double x2, double y2, std::string colour) {
    Shape shape;
    shape.kind = Shape::Kind::Line;
    shape.points = {x1, y1, x2, y2};
    shape.stroke = std::move(colour);
    m_shapes.push_back(std::move(shape));
}

void Olm_SymbolDrawing::Polyline(std::vector<double> points, std::string colour) {
    Shape shape;
    shape.kind = Shape::Kind::Polyline;
    shape.points = std::move(points);
    shape.stroke = std::move(colour);
    m_shapes.push_back(std::move(shape));
}

void Olm_SymbolDrawing::Rect(double x, double y, double w, double h, std::string stroke, std::string fill) {
    Shape shape;
    shape.kind = Shape::Kind::Rect;
    shape.points = {x, y, w, h};
    shape.stroke = std::move(stroke);
    shape.fill = std::move(fill);
    m_shapes.push_back(std::move(shape));
}
