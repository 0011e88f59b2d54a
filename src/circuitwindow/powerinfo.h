// The small window that shows the complex power of one circuit element.
#pragma once

#include <QDialog>

#include "complex/complex.h"

namespace zeigora {

class TComplexEditorFrame;

class TPowerInformationForm : public QDialog {
  public:
    explicit TPowerInformationForm(const TComplex& power, QWidget* parent = nullptr);

    TComplexEditorFrame* ComplexEditorFrame1;
};

}  // namespace zeigora
