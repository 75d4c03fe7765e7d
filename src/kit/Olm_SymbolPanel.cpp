#include "kit/Olm_SymbolPanel.h"

#include "gui_nx/Nx_Wizard.h"
#include "kit/Olm_HdlGenerator.h"
#include "kit/Olm_KitGui.h"
#include "kit/Olm_KitMain.h"
#include "kit/Olm_SymbolDrawing.h"
#include "kit/Olm_SymbolSource.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPolygonF>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

QString ToQt(const std::string& text) { return QString::fromUtf8(text.c_str()); }

// Room for the scroll area's frame and scroll bar beside the picture.
constexpr int kViewSlack = 24;
// Room beside the widest widget of a folded panel.
constexpr int kFoldedSlack = 8;

}  // namespace

// The picture: the drawing scaled down to the panel's width when it is wider.
class Olm_SymbolPanel::View : public QWidget {
public:
    View() { setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed); }

    void SetSymbol(const Olm_CoreSymbol& symbol) {
        m_drawing = std::make_unique<Olm_SymbolDrawing>(symbol);
        setFixedHeight(static_cast<int>(std::ceil(m_drawing->Height() * Scale())) + 1);
        update();
    }

    bool HasDrawing() const { return m_drawing != nullptr; }
    QSize sizeHint() const override { return {kWidth - kViewSlack, height()}; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_drawing) return;
        using Kind = Olm_SymbolDrawing::Shape::Kind;
        using Anchor = Olm_SymbolDrawing::Shape::Anchor;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(Scale(), Scale());
        for (const Olm_SymbolDrawing::Shape& shape : m_drawing->Shapes()) {
            const std::vector<double>& p = shape.points;
            painter.setPen(QPen(QColor(ToQt(shape.stroke)), 1.0));
            switch (shape.kind) {
            case Kind::Rect:
                painter.setBrush(shape.fill.empty() ? QBrush(Qt::NoBrush) : QBrush(QColor(ToQt(shape.fill))));
                painter.drawRect(QRectF(p[0], p[1], p[2], p[3]));
                break;
            case Kind::Line: painter.drawLine(QPointF(p[0], p[1]), QPointF(p[2], p[3])); break;
            case Kind::Polyline: {
                QPolygonF line;
                for (std::size_t i = 0; i + 1 < p.size(); i += 2) line << QPointF(p[i], p[i + 1]);
                painter.drawPolyline(line);
                break;
            }
            case Kind::Text: {
                QFont font(QStringLiteral("monospace"));
                font.setStyleHint(QFont::Monospace);
                font.setPixelSize(std::max(1, static_cast<int>(std::lround(shape.size))));
                font.setBold(shape.bold);
                painter.setFont(font);
                const QString text = ToQt(shape.text);
                const double width = QFontMetricsF(font).horizontalAdvance(text);
                const double x = shape.anchor == Anchor::Start    ? p[0]
                                 : shape.anchor == Anchor::Middle ? p[0] - width / 2
                                                                  : p[0] - width;
                painter.drawText(QPointF(x, p[1]), text);
                break;
            }
            }
        }
    }

private:
    double Scale() const {
        const double room = kWidth - kViewSlack;
        return m_drawing && m_drawing->Width() > room ? room / m_drawing->Width() : 1.0;
    }

    std::unique_ptr<Olm_SymbolDrawing> m_drawing;
};

Olm_SymbolPanel* Olm_SymbolPanel::Attach(Olm_KitMain& main, Nx_Wizard& wizard) {
    auto* panel = new Olm_SymbolPanel(main);
    wizard.setSideWidget(panel);  // the wizard owns it
    return panel;
}

Olm_SymbolPanel* Olm_SymbolPanel::Of(const Nx_Wizard* wizard) {
    return wizard ? dynamic_cast<Olm_SymbolPanel*>(wizard->sideWidget()) : nullptr;
}

Olm_SymbolPanel::Olm_SymbolPanel(Olm_KitMain& main, QWidget* parent)
    : QWidget(parent),
      m_main(main),
      m_generator(std::make_unique<Olm_HdlGenerator>(main.GetFamily().str())),
      m_header(new QToolButton),
      m_scroll(new QScrollArea),
      m_view(new View),
      m_status(new QLabel),
      m_testbench(new QCheckBox(QStringLiteral("Also write a testbench"))) {
    setObjectName(QStringLiteral("symbolPanel"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 6, 0);
    m_header->setObjectName(QStringLiteral("symbolHeader"));
    m_header->setText(QStringLiteral("Core symbol"));
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setAutoRaise(true);
    m_header->setCheckable(true);
    m_header->setToolTip(QStringLiteral("The ports of the HDL wrapper as the settings stand; click to fold away"));
    QObject::connect(m_header, &QToolButton::toggled, this, [this](bool folded) { SetFolded(folded); });
    column->addWidget(m_header);
    m_scroll->setObjectName(QStringLiteral("symbolScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setObjectName(QStringLiteral("symbolView"));
    m_scroll->setWidget(m_view);
    column->addWidget(m_scroll, 1);
    m_status->setObjectName(QStringLiteral("symbolStatus"));
    m_status->setWordWrap(true);
    m_status->setStyleSheet(QStringLiteral("color: #8a5a00"));
    m_status->hide();
    column->addWidget(m_status);
    m_testbench->setObjectName(QStringLiteral("testbench"));
    m_testbench->setToolTip(
        QStringLiteral("Finish also writes a self-checking testbench of the core beside the HDL file"));
    m_testbench->setChecked(main.GetTestbench());
    QObject::connect(m_testbench, &QCheckBox::toggled, this, [this](bool on) { m_main.SetTestbench(on); });
    column->addWidget(m_testbench);
    SetFolded(false);
}

Olm_SymbolPanel::~Olm_SymbolPanel() = default;

void Olm_SymbolPanel::SetFolded(bool folded) {
    if (m_header->isChecked() != folded) m_header->setChecked(folded);  // comes back here
    m_header->setArrowType(folded ? Qt::RightArrow : Qt::DownArrow);
    m_scroll->setVisible(!folded);
    // Folded, the panel is as narrow as its button and its check box allow.
    setFixedWidth(folded ? std::max(m_header->sizeHint().width(), m_testbench->sizeHint().width()) + kFoldedSlack
                         : kWidth);
    m_status->setVisible(!folded && !m_problem.empty());
}

bool Olm_SymbolPanel::IsFolded() const { return m_header->isChecked(); }

void Olm_SymbolPanel::PageChanged(Olm_KitGui& gui) {
    std::string problem;
    Olm_CoreSymbol symbol;
    if (Olm_SymbolSource::Preview(m_main, gui.Page(), &gui.Values(), *m_generator, symbol, problem)) {
        m_problem.clear();
        if (!(symbol == m_symbol) || !m_view->HasDrawing()) {
            m_symbol = std::move(symbol);
            m_view->SetSymbol(m_symbol);
        }
    } else {
        m_problem = problem.empty() ? "The settings cannot be applied as they stand." : problem;
    }
    m_status->setText(m_problem.empty() ? QString() : QStringLiteral("Not up to date: ") + ToQt(m_problem));
    m_status->setVisible(!IsFolded() && !m_problem.empty());
}
