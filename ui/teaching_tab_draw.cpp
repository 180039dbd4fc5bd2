// The teaching tab's drawing: the scene's curves, fills, markers and labels on the plot, and
// the legend of models and line styles; also the image and CSV exports.
#include "plots/diagrams.h"
#include "ui/diagram_plot.h"
#include "ui/diagram_style.h"
#include "ui/teaching_tab.h"
#include "ui/window_style.h"

#include <QLabel>
#include <QSvgGenerator>

namespace ui {
namespace {

constexpr double kMarkerSize = 9;
const QColor kStyleInk(0x30, 0x30, 0x30);
const QColor kReferenceInk(0, 0, 0);
const QColor kGuideInk(0x60, 0x60, 0x60);
constexpr int kContextAlpha = 110;
const QColor kLiquidFill(0x1f, 0x77, 0xb4, 70);
const QColor kVapourFill(0xff, 0x7f, 0x0e, 70);

QVector<double> toVector(const std::vector<double>& v) { return {v.begin(), v.end()}; }

/// How each role is drawn; the legend shows the same pens.
QPen rolePen(plots::LineRole role, const QColor& color, bool emphasised)
{
    QPen pen(color, 1.6);
    switch (role) {
    case plots::LineRole::Stable:
        break;
    case plots::LineRole::Metastable:
        pen.setStyle(Qt::DashLine);
        break;
    case plots::LineRole::Unstable:
        pen.setStyle(Qt::DotLine);
        break;
    case plots::LineRole::TieLine:
        pen.setWidthF(1.3);
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case plots::LineRole::Dome:
        pen.setWidthF(3.0);
        break;
    case plots::LineRole::Spinodal:
        pen.setStyle(Qt::DashDotLine);
        break;
    case plots::LineRole::Guide:
        pen.setColor(kGuideInk);
        pen.setWidthF(1.0);
        pen.setStyle(Qt::DotLine);
        break;
    }
    if (emphasised)
        pen.setWidthF(pen.widthF() + 1.4);
    return pen;
}

const char* roleText(plots::LineRole role)
{
    switch (role) {
    case plots::LineRole::Stable:
        return "stable";
    case plots::LineRole::Metastable:
        return "metastable";
    case plots::LineRole::Unstable:
        return "unstable";
    case plots::LineRole::TieLine:
        return "tie-line";
    case plots::LineRole::Dome:
        return "dome";
    case plots::LineRole::Spinodal:
        return "spinodal";
    case plots::LineRole::Guide:
        return "state / slider";
    }
    return "";
}

/// An entry that only shows in the legend.
QCPGraph* legendEntry(QCustomPlot* plot, const QString& name, const QPen& pen,
                      const QCPScatterStyle& scatter = QCPScatterStyle())
{
    QCPGraph* g = plot->addGraph();
    g->setName(name);
    g->setPen(pen);
    g->setScatterStyle(scatter);
    g->setSelectable(QCP::stNone);
    return g;
}

QCPScatterStyle markerStyle(const plots::Marker& m)
{
    switch (m.kind) {
    case plots::MarkerKind::ModelCritical:
    case plots::MarkerKind::CriticalPoint:
        return QCPScatterStyle(QCPScatterStyle::ssStar, 13);
    case plots::MarkerKind::State:
        return QCPScatterStyle(QCPScatterStyle::ssCrossCircle, 13);
    case plots::MarkerKind::Root:
    case plots::MarkerKind::Measured: // the teaching diagrams draw no measured points
        break;
    }
    return QCPScatterStyle(m.model ? modelStyle(*m.model).shape : QCPScatterStyle::ssCircle,
                           kMarkerSize);
}
} // namespace

void TeachingTab::draw(bool resetAxes)
{
    QCustomPlot* p = m_plot;
    p->clearPlottables();
    p->clearItems();
    p->legend->clearItems();
    const plots::Diagram& d = m_scene.diagram;
    setUpAxisScale(p->xAxis, d.x);
    setUpAxisScale(p->yAxis, d.y);
    if (resetAxes) {
        p->xAxis->setRange(d.x.min, d.x.max);
        p->yAxis->setRange(d.y.min, d.y.max);
    }
    drawLegend();
    drawFills();
    drawCurves();
    drawMarkers();
    drawLabels();
    lblTeachCaption->setText(fromStd(m_scene.caption));
    p->replot(QCustomPlot::rpQueuedReplot);
}

void TeachingTab::drawLegend()
{
    // Legend: the models drawn (a click hides or shows one), then what each line style means.
    QCustomPlot* p = m_plot;
    const plots::Diagram& d = m_scene.diagram;
    std::array<bool, plots::kModelCount> drawn{};
    std::array<bool, 7> roles{};
    bool reference = false;
    for (std::size_t i = 0; i < d.curves.size(); ++i) {
        if (d.curves[i].model)
            drawn[static_cast<std::size_t>(*d.curves[i].model)] = true;
        roles[static_cast<std::size_t>(m_scene.info[i].role)] = true;
        reference |= m_scene.info[i].reference;
    }
    const bool modelChoice =
        m_options.view == plots::TeachingView::Domes ||
        m_options.view == plots::TeachingView::VapourPressure ||
        (m_options.view == plots::TeachingView::IsothermFamily && m_options.familyAllModels);
    for (state::Row row : analysis::kModels) {
        const std::size_t i = static_cast<std::size_t>(row);
        if (!drawn[i] && !(modelChoice && !m_options.shown[i]))
            continue;
        QCPGraph* e = legendEntry(p, fromStd(std::string(state::rowCaption(row))),
                                  QPen(modelStyle(row).color, 3));
        e->setProperty(kModelKey, modelChoice ? static_cast<int>(row) + 1 : 0);
        if (!m_options.shown[i] && modelChoice)
            if (auto* item = p->legend->itemWithPlottable(e))
                item->setTextColor(QColor(0xb0, 0xb0, 0xb0));
    }
    if (reference && m_data && m_data->reference)
        legendEntry(p, fromStd(m_data->reference->name), QPen(kReferenceInk, 3));
    for (std::size_t r = 0; r < roles.size(); ++r)
        if (roles[r]) {
            const auto role = static_cast<plots::LineRole>(r);
            legendEntry(p, roleText(role), rolePen(role, kStyleInk, false));
        }
}

void TeachingTab::drawFills()
{
    QCustomPlot* p = m_plot;
    for (const plots::TeachingFill& f : m_scene.fills) {
        auto* c = new QCPCurve(p->xAxis, p->yAxis);
        c->setData(toVector(f.x), toVector(f.y));
        c->setPen(Qt::NoPen);
        c->setBrush(f.liquidSide ? kLiquidFill : kVapourFill);
        c->setName(fromStd(f.name)); // its value in the legend
        c->setSelectable(QCP::stNone);
    }
}

void TeachingTab::drawCurves()
{
    QCustomPlot* p = m_plot;
    const plots::Diagram& d = m_scene.diagram;
    // With one model's isotherms in front, its dome and spinodal are the background.
    const bool context =
        m_options.view == plots::TeachingView::EqualAreas ||
        (m_options.view == plots::TeachingView::IsothermFamily && !m_options.familyAllModels);
    for (std::size_t i = 0; i < d.curves.size(); ++i) {
        const plots::Curve& c = d.curves[i];
        const plots::TeachingCurveInfo& info = m_scene.info[i];
        const QColor color = info.reference ? kReferenceInk
                             : c.model      ? modelStyle(*c.model).color
                                            : kGuideInk;
        QPen pen = rolePen(info.role, color, info.emphasised);
        if (context &&
            (info.role == plots::LineRole::Dome || info.role == plots::LineRole::Spinodal)) {
            QColor faint = pen.color();
            faint.setAlpha(kContextAlpha);
            pen.setColor(faint);
        }
        const QString name = fromStd(c.name);
        if (info.role == plots::LineRole::Dome || info.role == plots::LineRole::Spinodal ||
            info.role == plots::LineRole::Guide) {
            // A dome turns back on itself, a guide may be vertical: drawn in point order.
            auto* curve = new QCPCurve(p->xAxis, p->yAxis);
            curve->setData(toVector(c.x), toVector(c.y));
            curve->setPen(pen);
            curve->setName(name);
            curve->setSelectable(QCP::stNone);
            curve->removeFromLegend();
            continue;
        }
        QCPGraph* g = p->addGraph(); // isotherms and tie-lines rise in V
        g->setData(toVector(c.x), toVector(c.y), true);
        g->setPen(pen);
        g->setName(name);
        g->setSelectable(QCP::stNone);
        g->removeFromLegend();
    }
}

void TeachingTab::drawMarkers()
{
    QCustomPlot* p = m_plot;
    bool critical = false;
    for (const plots::Marker& m : m_scene.diagram.markers) {
        QCPGraph* g = p->addGraph();
        g->setLineStyle(QCPGraph::lsNone);
        g->setData(QVector<double>{m.x}, QVector<double>{m.y}, true);
        g->setPen(QPen(m.model ? modelStyle(*m.model).color : kReferenceInk, 1.6));
        g->setScatterStyle(markerStyle(m));
        g->setSelectable(QCP::stNone);
        g->removeFromLegend();
        critical |= m.kind == plots::MarkerKind::ModelCritical;
    }
    if (critical)
        legendEntry(p, "critical point", QPen(kStyleInk, 1.6),
                    QCPScatterStyle(QCPScatterStyle::ssStar, 13))
            ->setLineStyle(QCPGraph::lsNone);
}

void TeachingTab::drawLabels()
{
    for (const plots::TeachingLabel& l : m_scene.labels) {
        auto* t = new QCPItemText(m_plot);
        t->position->setCoords(l.x, l.y);
        t->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        t->setText(fromStd(l.text));
        t->setColor(kStyleInk);
        t->setPadding(QMargins(3, 0, 0, 2));
    }
}

bool TeachingTab::saveImage(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "pdf")
        return m_plot->savePdf(path, m_plot->width(), m_plot->height());
    if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(m_plot->size());
        svg.setViewBox(QRect(QPoint(0, 0), m_plot->size()));
        svg.setTitle(fromStd(m_scene.diagram.title));
        QCPPainter painter;
        if (!painter.begin(&svg))
            return false;
        m_plot->toPainter(&painter, m_plot->width(), m_plot->height());
        return painter.end();
    }
    return m_plot->savePng(path, m_plot->width(), m_plot->height());
}

QImage TeachingTab::image()
{
    return m_plot->toPixmap(m_plot->width(), m_plot->height()).toImage();
}

std::string TeachingTab::csv() const
{
    std::array<bool, plots::kModelCount> all{};
    all.fill(true);
    return plots::diagramCsv(m_scene.diagram, all);
}
} // namespace ui
