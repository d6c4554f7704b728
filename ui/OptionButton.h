// An option button whose caption wraps onto more lines, runs of spaces included, like the classic controls.
#pragma once

#include <QRadioButton>

namespace quorvane::ui {

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    OptionButton(const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    // The whole fixed rectangle takes clicks, not only the one-line caption that the style measures.
    bool hitButton(const QPoint &pos) const override;

private:
    QString shownText() const;
};

} // namespace quorvane::ui
