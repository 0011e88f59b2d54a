// The selection combo of the main window: "Kein" and the phasor names, each drawn in its
// phasor's colour on white.
#pragma once

#include <QComboBox>
#include <cstdint>

#include "phasors/phasor.h"

namespace zeigora {

class TPhasorComboBox : public QComboBox {
    Q_OBJECT

  public:
    explicit TPhasorComboBox(QWidget* parent = nullptr);

    // Clears the list, adds the first caption (black) and every name in list order, and
    // selects item 0; no change event.
    void Fill(const TPhasorArray& phasors, const std::string& firstCaption);
    // The colour an item is drawn in (0x00BBGGRR).
    std::uint32_t ItemColor(int index) const;
    // Sets the index without a change event, the way the program sets it.
    void SetItemIndex(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zeigora
