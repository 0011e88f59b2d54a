// The panel that shows one complex number in rectangular and polar form at once and lets the
// user edit any of its four fields; the other form follows when an edit is left.
#pragma once

#include <QFrame>
#include <functional>

#include "complex/complex.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zeigora {

class TComplexEditorFrame : public QFrame {
    Q_OBJECT

  public:
    explicit TComplexEditorFrame(QWidget* parent = nullptr);

    void InitValue();
    TComplex GetValue() const { return Value; }
    void SetValue(const TComplex& v);
    void SetReadOnly(bool flag);
    void ShowValue();

    // A host that takes over the change events of the four edits (the supply voltage of the
    // circuit window) installs its handler here; it then runs instead of the red/white marking.
    // An empty handler restores the marking.
    void SetChangeHandler(std::function<void()> handler);

    // The controls, for hosts that retitle them ("Wirk:", "Blind:", "Schein:").
    QGroupBox* Zeigereigenschaften;
    QLabel* Label1;
    QLineEdit* RealEdit;
    QLabel* Label2;
    QLineEdit* ImgEdit;
    QPushButton* ConjButton1;
    QLabel* Label3;
    QLineEdit* AbsEdit;
    QLabel* Label4;
    QLineEdit* PhasEdit;
    QPushButton* ConjButton2;
    QRadioButton* rad;
    QRadioButton* Grad;
    QLabel* Label7;
    QLabel* CompForm;
    QLabel* Label8;
    QLabel* PolarForm;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void ArrangeTabOrder();
    void ConnectEvents();
    void EditChange(QLineEdit* edit);
    void RealEditExit();
    void ImgEditExit();
    void AbsEditExit();
    void PhasEditExit();
    void GradClick();
    void KeepTabOnCheckedUnit();
    void ConjButton1Click();
    void LeaveEdit(QLineEdit* edit);
    void ShowSummaries();

    TComplex Value;
    std::function<void()> ChangeHandler;
};

// The colours of an edit: white for a readable number, pure red for unreadable text.
bool IsMarkedInvalid(const QLineEdit& edit);

}  // namespace zeigora
