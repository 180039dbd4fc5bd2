#pragma once

#include "plots/diagram.h"

#include <qcustomplot.h>

#include <array>
#include <optional>

namespace ui {

/// The axis's title, scale (linear or logarithmic), ticker and number format; not its range.
void setUpAxisScale(QCPAxis* axis, const plots::Axis& a);

/// Which of the nine models are drawn, by row.
using ModelMask = std::array<bool, plots::kModelCount>;

/// One diagram on the plotting library: the curves of a plots::Diagram, one colour and marker
/// per model, a legend whose model entries toggle the model, and the usual interaction: wheel
/// zoom, drag to pan, Ctrl+drag for a zoom box, double-click back to the initial view.
class DiagramPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit DiagramPlot(QWidget* parent = nullptr);

    /// Replaces everything drawn by the diagram, with the models of `visible` shown.
    void setDiagram(const plots::Diagram& diagram, const ModelMask& visible);
    const plots::Diagram& diagram() const { return m_diagram; }
    /// Shows or hides every curve and marker of the model; its legend entry stays, greyed.
    void setModelVisible(state::Row model, bool visible);
    /// The y axis logarithmic (where the diagram offers it), else linear; back to the initial
    /// view of that axis.
    void setLogY(bool log);
    bool logY() const { return m_logY; }
    /// The axes as the diagram sets them up.
    void resetView();
    /// The number of curves drawn (hidden models not counted), markers aside.
    int visibleCurveCount() const;
    /// The drawn curves of a model (markers aside), shown or not.
    std::vector<QCPGraph*> modelCurves(state::Row model) const;
    /// Each drawn curve with the diagram's curve it draws, in the diagram's order.
    std::vector<std::pair<QCPGraph*, const plots::Curve*>> curves() const;
    /// The drawn root markers of a model, as (x, y) in the axes' units.
    QVector<QPointF> rootMarkers(state::Row model) const;
    /// "V = 123.4   P = 5.678   nearest: Peng-Robinson, tie-line" for a pixel position.
    QString readout(const QPointF& pixel) const;
    /// The diagram as a file of `suffix` ("png", "svg" or "pdf"); PNG at the screen's pixel
    /// density. Empty for another suffix.
    QByteArray imageBytes(const QString& suffix);
    /// The diagram as an image of the widget's size at the screen's pixel density.
    QImage image();

signals:
    /// The legend entry of the model was clicked.
    void modelToggled(int row);
    void readoutChanged(const QString& text);

private:
    void addCurve(const plots::Curve& curve);
    void addMarkers(const plots::Marker& first, const std::vector<plots::Marker>& all);
    void addStyleKey(const plots::StyleKey& key);
    void setCurveData(QCPGraph* g, const plots::Curve& curve);
    const plots::Axis& yAxisSetUp() const;
    void keepInLimits(QCPAxis* axis, const plots::Axis& setUp, const QCPRange& range);
    QByteArray svgBytes();
    QByteArray pdfBytes();
    void onLegendClick(QCPLegend* legend, QCPAbstractLegendItem* item, QMouseEvent* event);

    plots::Diagram m_diagram;
    bool m_logY = false;
    // Each model's curves, markers and legend-only entry.
    std::array<std::vector<QCPGraph*>, plots::kModelCount> m_modelGraphs{};
    std::array<QCPGraph*, plots::kModelCount> m_legendEntry{};
    std::array<QCPGraph*, plots::kModelCount> m_rootMarkers{};
    QCPGraph* m_referenceEntry = nullptr; // the legend-only entry of the reference's curves
    // Every curve with the index of its diagram curve, for the read-out and the log axis.
    std::vector<std::pair<QCPGraph*, std::size_t>> m_curves;
};

} // namespace ui
