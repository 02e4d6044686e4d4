#pragma once
// The main view: a drawing of the current project's pavement, in place of a fixed picture. The
// layers of finite thickness are drawn to scale with their material, thickness and modulus; the
// semi-infinite bottom layer is marked "Infinite"; a dual-tire axle stands on the surface.

#include <QWidget>

#include "project/CStenorDoc.h"

namespace ardelon::gui {

// One band of the drawing, as computed from the project (separate from the painting so that it
// can be checked without pixels).
struct SectionBand {
    QString material;        // "AC", "Soil", ...
    QString thickness;       // "10 in", "Infinite"
    QString modulus;         // "E = 522958 psi"
    double depthTop = 0;     // in display units of thickness
    double depthBottom = 0;  // equal to depthTop for the semi-infinite layer
    bool infinite = false;
    int materialType = 0;  // MaterialType value, for the fill
};

// The bands of the pavement from the surface down: layerCountIndex + 2 layers, the last one
// semi-infinite.
std::vector<SectionBand> sectionBands(const CStenorDoc& project);

class CrossSectionView : public QWidget {
    Q_OBJECT
  public:
    explicit CrossSectionView(const CStenorDoc& project, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {900, 520}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const CStenorDoc& project_;
};

}  // namespace ardelon::gui
