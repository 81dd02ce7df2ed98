#pragma once

#include <QComboBox>

// A drop-down list that always opens as a scrolling list within its row limit.
class CDropDownList : public QComboBox {
public:
    explicit CDropDownList(QWidget* parent = nullptr);

    void showPopup() override;

private:
    bool m_bStyled = false;
};
