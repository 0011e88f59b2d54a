#include "circuitwindow/powerinfo.h"

#include <QGroupBox>
#include <QLabel>

#include "circuitwindow/formutil.h"
#include "complex/cp1252text.h"
#include "dialogs/editfram.h"
#include "platform/cp1252.h"

namespace zeigora {

TPowerInformationForm::TPowerInformationForm(const TComplex& power, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("PowerInformationForm"));
    setWindowTitle(QStringLiteral("Leistungsinformation"));
    setFont(QFont(QStringLiteral("Verdana"), 8));
    ComplexEditorFrame1 = new TComplexEditorFrame(this);
    ComplexEditorFrame1->setObjectName(QStringLiteral("ComplexEditorFrame1"));
    ComplexEditorFrame1->move(0, 0);
    ComplexEditorFrame1->InitValue();
    ComplexEditorFrame1->SetReadOnly(true);
    ComplexEditorFrame1->SetValue(power);
    ComplexEditorFrame1->Zeigereigenschaften->setTitle(FromCp1252("Leistung [VA, var, W, °]"_cp));
    ComplexEditorFrame1->Label1->setText(QStringLiteral("Wirk:"));
    ComplexEditorFrame1->Label2->setText(QStringLiteral("Blind:"));
    ComplexEditorFrame1->Label3->setText(QStringLiteral("Schein:"));
    setFixedSize(ComplexEditorFrame1->size());
    NoDefaultButtons(*this);
    CenterOnScreen(*this);
}

}  // namespace zeigora
