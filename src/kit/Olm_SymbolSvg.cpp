#include "kit/Olm_SymbolSvg.h"

#include "kit/Olm_CoreSymbol.h"
#include "kit/Olm_SymbolDrawing.h"
#include "pal/OutputFile.h"
#include "pal/StrUtil.h"

namespace {

std::string Num(double value) { return Pal::StrUtil::FormatNumber(value, 1); }

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

const char* AnchorName(Olm_SymbolDrawing::Shape::Anchor anchor) {
    switch (anchor) {
    case Olm_SymbolDrawing::Shape::Anchor::Start: return "start";
    case Olm_SymbolDrawing::Shape::Anchor::Middle: return "middle";
    case Olm_SymbolDrawing::Shape::Anchor::End: return "end";
    }
    return "start";
}

}  // namespace

std::string Olm_SymbolSvg::Text(const Olm_CoreSymbol& symbol) {
    using Kind = Olm_SymbolDrawing::Shape::Kind;
    const Olm_SymbolDrawing drawing(symbol);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(drawing.Width()) + "\" height=\"" +
           Num(drawing.Height()) + "\" viewBox=\"0 0 " + Num(drawing.Width()) + " " + Num(drawing.Height()) +
           "\" font-family=\"monospace\">\n";
    svg += "<title>" + Escaped(symbol.Name()) + "</title>\n";
    for (const Olm_SymbolDrawing::Shape& shape : drawing.Shapes()) {
        const std::vector<double>& p = shape.points;
        switch (shape.kind) {
        case Kind::Rect:
            svg += "<rect x=\"" + Num(p[0]) + "\" y=\"" + Num(p[1]) + "\" width=\"" + Num(p[2]) + "\" height=\"" +
                   Num(p[3]) + "\" stroke=\"" + shape.stroke + "\" fill=\"" +
                   (shape.fill.empty() ? std::string("none") : shape.fill) + "\"/>\n";
            break;
        case Kind::Line:
            svg += "<line x1=\"" + Num(p[0]) + "\" y1=\"" + Num(p[1]) + "\" x2=\"" + Num(p[2]) + "\" y2=\"" +
                   Num(p[3]) + "\" stroke=\"" + shape.stroke + "\"/>\n";
            break;
        case Kind::Polyline: {
            std::string points;
            for (std::size_t i = 0; i + 1 < p.size(); i += 2) points += (i ? " " : "") + Num(p[i]) + "," + Num(p[i + 1]);
            svg += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + shape.stroke + "\"/>\n";
            break;
        }
        case Kind::Text:
            svg += "<text x=\"" + Num(p[0]) + "\" y=\"" + Num(p[1]) + "\" font-size=\"" + Num(shape.size) +
                   "\" text-anchor=\"" + AnchorName(shape.anchor) + "\" fill=\"" + shape.stroke + "\"" +
                   (shape.bold ? " font-weight=\"bold\"" : "") + ">" + Escaped(shape.text) + "</text>\n";
            break;
        }
    }
    svg += "</svg>\n";
    return svg;
}

bool Olm_SymbolSvg::Write(const Olm_CoreSymbol& symbol, const std::string& path, std::string& error) {
    std::string reason;
    if (Pal::OutputFile::WriteWhole(path, Text(symbol), reason)) return true;
    error = "Could not write the symbol " + path + ": " + reason + ".";
    return false;
}

bool Olm_SymbolSvg::CanWrite(const std::string& path, std::string& error) {
    Pal::OutputFile file(path);
    if (!file.Open()) {
        error = "Could not write the symbol " + path + ": " + file.Reason() + ".";
        return false;
    }
    file.Discard();
    return true;
}
