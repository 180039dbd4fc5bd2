#include "ui/diagram_plot.h"

#include "plots/curve_sampling.h"
#include "plots/view_limits.h"
#include "ui/diagram_style.h"
#include "ui/window_style.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ui {
namespace {

constexpr int kModelProperty = 0; // no model: a component curve
const char* const kModelKey = "model";
constexpr double kMarkerSize = 9;
constexpr double kWheelZoomFactor = 0.85;
const QColor kComponentColor(0, 0, 0);
const QColor kStateColor(0x40, 0x40, 0x40);
const QColor kHiddenText(0xb0, 0xb0, 0xb0);
// The reference equation of state: black and heavier than any model's line.
constexpr double kReferenceWidth = 2.6;
// Measured points: the one colour of the palette no model has (tab10's olive), outlined.
const QColor kMeasuredColor(0xbc, 0xbd, 0x22);
constexpr double kMeasuredSize = 7;
const QColor kKeyColor(0x60, 0x60, 0x60);

Qt::PenStyle penStyle(plots::LineStyle style)
{
    switch (style) {
    case plots::LineStyle::Dashed:
        return Qt::DashLine;
    case plots::LineStyle::Dotted:
        return Qt::DotLine;
    case plots::LineStyle::Solid:
        break;
    }
    return Qt::SolidLine;
}

QVector<double> toVector(const std::vector<double>& v) { return {v.begin(), v.end()}; }

/// A graph's data as its points, gaps (NaN) kept.
std::vector<plots::Point> pointsOf(const QCPGraph& g)
{
    std::vector<plots::Point> points;
    for (const QCPGraphData& d : *g.data())
        points.push_back({d.key, d.value});
    return points;
}

std::size_t index(state::Row row) { return static_cast<std::size_t>(row); }

} // namespace

void setUpAxisScale(QCPAxis* axis, const plots::Axis& a)
{
    axis->setLabel(fromStd(a.title));
    if (a.log) {
        axis->setScaleType(QCPAxis::stLogarithmic);
        axis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
        axis->setNumberFormat("gb");
    } else {
        axis->setScaleType(QCPAxis::stLinear);
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
        axis->setNumberFormat("g");
    }
}

namespace {

void setUpAxis(QCPAxis* axis, const plots::Axis& a)
{
    setUpAxisScale(axis, a);
    axis->setRange(a.min, a.max);
}

} // namespace

DiagramPlot::DiagramPlot(QWidget* parent) : QCustomPlot(parent)
{
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectLegend);
    axisRect()->setRangeZoomFactor(kWheelZoomFactor);
    // The legend right of the axes, so it never covers a curve.
    legend->setVisible(true);
    legend->setSelectableParts(QCPLegend::spItems);
    legend->setSelectedParts(QCPLegend::spNone);
    legend->setIconSize(28, 12);
    legend->setRowSpacing(4);
    auto* legendRect = new QCPLayoutGrid;
    plotLayout()->addElement(0, 1, legendRect);
    legendRect->addElement(0, 0, legend);
    legendRect->setMargins(QMargins(0, 6, 6, 6));
    legendRect->setRowStretchFactor(0, 0.01);
    legendRect->addElement(1, 0, new QCPLayoutElement);
    plotLayout()->setColumnStretchFactor(1, 0.001);

    connect(this, &QCustomPlot::legendClick, this, &DiagramPlot::onLegendClick);
    // Ctrl+drag draws a zoom box; a plain drag pans.
    connect(this, &QCustomPlot::mousePress, this, [this](QMouseEvent* e) {
        setSelectionRectMode(e->modifiers() & Qt::ControlModifier ? QCP::srmZoom : QCP::srmNone);
    });
    connect(this, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent*) {
        resetView();
        replot();
    });
    connect(this, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) {
        emit readoutChanged(readout(e->position()));
        // The reference's legend entry names the publication in full.
        auto* item = qobject_cast<QCPPlottableLegendItem*>(layoutElementAt(e->position()));
        const bool onReference = item != nullptr && item->plottable() == m_referenceEntry;
        setToolTip(onReference && m_diagram.reference ? fromStd(m_diagram.reference->citation)
                                                      : QString());
    });
    setMouseTracking(true);
    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange& r) { keepInLimits(xAxis, m_diagram.x, r); });
    connect(yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange& r) { keepInLimits(yAxis, yAxisSetUp(), r); });
}

void DiagramPlot::keepInLimits(QCPAxis* axis, const plots::Axis& setUp, const QCPRange& range)
{
    const plots::Range limited = plots::limitView(setUp, {range.lower, range.upper});
    if (limited.lo != range.lower || limited.hi != range.upper)
        axis->setRange(limited.lo, limited.hi);
}

const plots::Axis& DiagramPlot::yAxisSetUp() const
{
    return m_logY && m_diagram.yLog ? *m_diagram.yLog : m_diagram.y;
}

void DiagramPlot::setDiagram(const plots::Diagram& diagram, const ModelMask& visible)
{
    m_diagram = diagram;
    m_logY = m_logY && diagram.yLog.has_value();
    clearGraphs();
    legend->clearItems();
    m_modelGraphs = {};
    m_legendEntry = {};
    m_rootMarkers = {};
    m_referenceEntry = nullptr;
    m_curves.clear();

    setUpAxis(xAxis, diagram.x);
    setUpAxis(yAxis, yAxisSetUp());

    // One legend-only entry per model (line and marker), then the curves and markers.
    for (state::Row row : analysis::kModels) {
        const ModelStyle style = modelStyle(row);
        QCPGraph* entry = addGraph();
        entry->setName(fromStd(state::rowCaption(row)));
        entry->setPen(QPen(style.color, 1.5));
        entry->setScatterStyle(QCPScatterStyle(style.shape, kMarkerSize));
        entry->setProperty(kModelKey, static_cast<int>(row) + 1);
        entry->setSelectable(QCP::stNone);
        m_legendEntry[index(row)] = entry;
    }
    for (const plots::StyleKey& key : diagram.keys)
        addStyleKey(key);
    for (const plots::Curve& curve : m_diagram.curves)
        addCurve(curve);
    for (std::size_t i = 0; i < diagram.markers.size(); ++i) {
        const plots::Marker& m = diagram.markers[i];
        bool first = true;
        for (std::size_t j = 0; j < i; ++j)
            first &= !(diagram.markers[j].kind == m.kind && diagram.markers[j].model == m.model);
        if (first)
            addMarkers(m, diagram.markers);
    }
    for (state::Row row : analysis::kModels)
        setModelVisible(row, visible[index(row)]);
    resetView();
}

void DiagramPlot::addStyleKey(const plots::StyleKey& key)
{
    QCPGraph* g = addGraph();
    QPen pen(kKeyColor, 1.5);
    pen.setStyle(penStyle(key.style));
    g->setPen(pen);
    g->setName(fromStd(key.text));
    g->setSelectable(QCP::stNone);
    g->setProperty(kModelKey, kModelProperty);
}

void DiagramPlot::setCurveData(QCPGraph* g, const plots::Curve& curve)
{
    QVector<double> y = toVector(curve.y);
    if (m_logY) // a logarithmic axis has no place for P <= 0: a gap there
        for (double& v : y)
            if (!(v > 0))
                v = std::numeric_limits<double>::quiet_NaN();
    // Told sorted only when it is: the plot then keeps the points in their order.
    g->setData(toVector(curve.x), y, std::is_sorted(curve.x.begin(), curve.x.end()));
}

void DiagramPlot::addCurve(const plots::Curve& curve)
{
    QCPGraph* g = addGraph();
    const QColor color = curve.model ? modelStyle(*curve.model).color : kComponentColor;
    QPen pen(color, curve.reference ? kReferenceWidth : curve.model ? 1.5 : 1.2);
    pen.setStyle(penStyle(curve.style));
    g->setPen(pen);
    setCurveData(g, curve);
    g->setSelectable(QCP::stNone);
    g->setName(fromStd(curve.label));
    m_curves.emplace_back(g, static_cast<std::size_t>(&curve - m_diagram.curves.data()));
    if (curve.model) {
        g->removeFromLegend();
        g->setProperty(kModelKey, static_cast<int>(*curve.model) + 1);
        m_modelGraphs[index(*curve.model)].push_back(g);
    } else if (curve.reference) {
        // One legend entry, a solid line, for all of the reference's curves.
        g->setProperty(kModelKey, kModelProperty);
        g->removeFromLegend();
        if (m_referenceEntry == nullptr) {
            m_referenceEntry = addGraph();
            m_referenceEntry->setPen(QPen(kComponentColor, kReferenceWidth));
            m_referenceEntry->setName(
                fromStd(m_diagram.reference ? m_diagram.reference->name : curve.name));
            m_referenceEntry->setSelectable(QCP::stNone);
            m_referenceEntry->setProperty(kModelKey, kModelProperty);
        }
    } else {
        g->setProperty(kModelKey, kModelProperty);
    }
}

void DiagramPlot::addMarkers(const plots::Marker& first, const std::vector<plots::Marker>& all)
{
    QVector<double> x;
    QVector<double> y;
    for (const plots::Marker& m : all)
        if (m.kind == first.kind && m.model == first.model) {
            x << m.x;
            y << m.y;
        }
    QCPGraph* g = addGraph();
    g->setLineStyle(QCPGraph::lsNone);
    g->setData(x, y, false);
    g->setSelectable(QCP::stNone);
    g->removeFromLegend();
    if (first.model) {
        const ModelStyle style = modelStyle(*first.model);
        g->setPen(QPen(style.color, 1.5));
        g->setScatterStyle(QCPScatterStyle(style.shape, kMarkerSize));
        g->setProperty(kModelKey, static_cast<int>(*first.model) + 1);
        m_modelGraphs[index(*first.model)].push_back(g);
        if (first.kind == plots::MarkerKind::Root)
            m_rootMarkers[index(*first.model)] = g;
        return;
    }
    g->setProperty(kModelKey, kModelProperty);
    g->setName(fromStd(first.label));
    if (first.kind == plots::MarkerKind::Measured) {
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::black, 1),
                                           QBrush(kMeasuredColor), kMeasuredSize));
        g->addToLegend();
        return;
    }
    const bool isState = first.kind == plots::MarkerKind::State;
    g->setPen(QPen(isState ? kStateColor : kComponentColor, 2));
    g->setScatterStyle(
        QCPScatterStyle(isState ? QCPScatterStyle::ssCrossCircle : QCPScatterStyle::ssStar, 13));
    g->addToLegend();
}

void DiagramPlot::setModelVisible(state::Row model, bool visible)
{
    for (QCPGraph* g : m_modelGraphs[index(model)])
        g->setVisible(visible);
    if (QCPGraph* entry = m_legendEntry[index(model)]) {
        if (auto* item = legend->itemWithPlottable(entry))
            item->setTextColor(visible ? Qt::black : kHiddenText);
    }
}

void DiagramPlot::setLogY(bool log)
{
    if (!m_diagram.yLog)
        log = false;
    if (log == m_logY)
        return;
    m_logY = log;
    setUpAxis(yAxis, yAxisSetUp());
    for (const auto& [graph, i] : m_curves)
        setCurveData(graph, m_diagram.curves[i]);
    resetView();
}

void DiagramPlot::resetView()
{
    xAxis->setRange(m_diagram.x.min, m_diagram.x.max);
    yAxis->setRange(yAxisSetUp().min, yAxisSetUp().max);
}

std::vector<std::pair<QCPGraph*, const plots::Curve*>> DiagramPlot::curves() const
{
    std::vector<std::pair<QCPGraph*, const plots::Curve*>> out;
    for (const auto& [graph, i] : m_curves)
        out.emplace_back(graph, &m_diagram.curves[i]);
    return out;
}

std::vector<QCPGraph*> DiagramPlot::modelCurves(state::Row model) const
{
    std::vector<QCPGraph*> curves;
    for (QCPGraph* g : m_modelGraphs[index(model)])
        if (g->lineStyle() != QCPGraph::lsNone)
            curves.push_back(g);
    return curves;
}

QVector<QPointF> DiagramPlot::rootMarkers(state::Row model) const
{
    QVector<QPointF> points;
    if (const QCPGraph* g = m_rootMarkers[index(model)])
        for (const QCPGraphData& p : *g->data())
            points << QPointF(p.key, p.value);
    return points;
}

int DiagramPlot::visibleCurveCount() const
{
    int n = 0;
    for (const auto& [graph, i] : m_curves)
        n += graph->visible();
    return n;
}

QString DiagramPlot::readout(const QPointF& pixel) const
{
    const double x = xAxis->pixelToCoord(pixel.x());
    const double y = yAxis->pixelToCoord(pixel.y());
    // "V = 123.4 cm3/mol": the axis's name and its unit, which "(-)" leaves out.
    const auto coordinate = [](const QString& label, double value) {
        const qsizetype open = label.indexOf(" (");
        const QString unit = open < 0 ? QString() : label.mid(open + 2).chopped(1);
        return label.section(' ', 0, 0) + " = " + QString::number(value, 'g', 5) +
               (unit.isEmpty() || unit == "-" ? QString() : " " + unit);
    };
    QString text = coordinate(xAxis->label(), x) + "   " + coordinate(yAxis->label(), y);
    double best = std::numeric_limits<double>::infinity();
    QString nearest;
    for (const auto& [graph, i] : m_curves) {
        if (!graph->visible())
            continue;
        const double d = graph->selectTest(pixel, false);
        if (d >= 0 && d < best) {
            best = d;
            nearest = fromStd(m_diagram.curves[i].label);
        }
    }
    if (!nearest.isEmpty())
        text += QString("   nearest: %1").arg(nearest);
    return text;
}

QByteArray DiagramPlot::imageBytes(const QString& suffix)
{
    if (suffix == "svg")
        return svgBytes();
    if (suffix == "pdf")
        return pdfBytes();
    if (suffix != "png")
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image().save(&buffer, "PNG"))
        return {};
    return bytes;
}

QByteArray DiagramPlot::svgBytes()
{
    // The SVG writer ignores the painter's clip region, so every line is cut at the axis
    // rectangle here and markers outside it are left out; the data is put back afterwards.
    replot(rpImmediateRefresh);
    const QRect r = axisRect()->rect();
    std::vector<std::pair<QCPGraph*, QSharedPointer<QCPGraphDataContainer>>> kept;
    for (int i = 0; i < graphCount(); ++i) {
        QCPGraph* g = graph(i);
        if (g->dataCount() == 0)
            continue;
        std::vector<plots::Point> px;
        for (const plots::Point& p : pointsOf(*g))
            px.push_back({xAxis->coordToPixel(p.x), yAxis->coordToPixel(p.y)});
        std::vector<plots::Point> cut;
        if (g->lineStyle() == QCPGraph::lsNone) {
            for (const plots::Point& p : px)
                if (r.contains(QPointF(p.x, p.y).toPoint()))
                    cut.push_back(p);
        } else {
            cut = plots::clipPolyline(px, r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        }
        auto inside = QSharedPointer<QCPGraphDataContainer>::create();
        for (const plots::Point& p : cut)
            inside->add(QCPGraphData(xAxis->pixelToCoord(p.x),
                                     std::isnan(p.y) ? p.y : yAxis->pixelToCoord(p.y)));
        kept.emplace_back(g, g->data());
        g->setData(inside);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size());
    svg.setViewBox(QRect(QPoint(0, 0), size()));
    svg.setTitle(fromStd(m_diagram.title));
    QCPPainter painter;
    bool drawn = painter.begin(&svg);
    if (drawn) {
        toPainter(&painter, width(), height());
        drawn = painter.end();
    }
    for (auto& [g, all] : kept)
        g->setData(all);
    replot(rpQueuedReplot);
    return drawn ? bytes : QByteArray();
}

QByteArray DiagramPlot::pdfBytes()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        // One point per pixel of the window: the page is the diagram's size.
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);
        pdf.setTitle(fromStd(m_diagram.title));
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(size()), QPageSize::Point),
                                      QPageLayout::Portrait, QMarginsF()));
        QCPPainter painter;
        if (!painter.begin(&pdf))
            return {};
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        toPainter(&painter, width(), height());
        if (!painter.end())
            return {};
    }
    return bytes;
}

QImage DiagramPlot::image()
{
    // At the screen's pixel density: at 200 % twice the pixels each way, as the window shows.
    QImage img = toPixmap(width(), height(), devicePixelRatioF()).toImage();
    img.setDevicePixelRatio(1);
    return img;
}

void DiagramPlot::onLegendClick(QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*)
{
    legend->setSelectedParts(QCPLegend::spNone);
    auto* entry = qobject_cast<QCPPlottableLegendItem*>(item);
    if (entry == nullptr)
        return;
    const int model = entry->plottable()->property(kModelKey).toInt();
    if (model > kModelProperty)
        emit modelToggled(model - 1);
}

} // namespace ui
