#pragma once

// A push button that reports mouse movements over it; clicks are QPushButton::clicked.
// Return and Enter press the focused button, as Space does (and as Windows has it).
// A caption wider than the button (a Japanese face wider than the one the layout was made
// for) is drawn in a smaller size of the button's font rather than clipped, down to the
// smallest legible size; below that the caption needs a wider button (captionWidth()).

#include <QPushButton>

#include <string_view>

namespace widgets {

class Button final : public QPushButton {
    Q_OBJECT

public:
    explicit Button(QWidget* parent = nullptr);

    void setCaption(std::string_view caption);
    // The smallest pixel size a caption is shrunk to.
    void setMinimumCaptionPixels(int pixels);
    // The width the button needs to show its caption whole at the size it is drawn in.
    int captionWidth() const;

signals:
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitCaption();

    int captionRoom(int width) const;

    struct FitKey {
        QString text;
        QFont font;
        int room = -1;
        int minimumPixels = 0;
        bool operator==(const FitKey&) const = default;
    };

    QFont m_chosenFont;     // the font the button was given
    int m_minimumPixels = 8;
    bool m_fitting = false; // fitCaption() is setting the font itself
    FitKey m_lastFit;       // what the caption was last fitted to
};

} // namespace widgets
