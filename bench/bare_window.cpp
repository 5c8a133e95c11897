// The bare Qt Widgets programs that the diary's start-up is measured against: one window of the
// diary's size, shown, and closed as soon as it has been painted once. It reads no settings, no
// entries and no icon, plays no sound and saves nothing, so the time from its start to its exit
// is what Qt itself needs to open and paint a window on the same platform.
//
// With --text it also draws what the glance at login shows, in the same fonts: a heading and
// eight rows of a week in a heavy sans face a twenty-fifth of the window tall, a memo, the time
// and one button. The diary against this second window is the diary's cost beyond its text.
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cstring>

namespace {

class FirstPaintWindow final : public QWidget {
public:
    explicit FirstPaintWindow(bool with_text) : m_with_text(with_text) {
        if (!with_text) return;
        (new QPushButton(QStringLiteral("Exit"), this))->setGeometry(275, 385, 85, 20);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().window());
        if (m_with_text) draw_week(painter);
        if (m_painted) return;
        m_painted = true;
        // Leaves once this painting is done, as the diary leaves after its first week.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }

private:
    void draw_week(QPainter& painter) const {
        painter.drawText(250, 370, QStringLiteral("Time now: 10:00 hrs."));
        QFont heavy = font();
        heavy.setWeight(QFont::Black);
        heavy.setPixelSize(height() / 25);
        painter.setFont(heavy);
        painter.drawText(10, 20, QStringLiteral("The Next Seven Days:"));
        painter.drawText(400, 20, QStringLiteral("Year 2026"));
        const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
        for (int row = 0; row < 8; ++row) {
            const int y = 60 + 25 * row;
            painter.drawText(20, y, QLatin1String(days[row]));
            painter.drawText(74, y, QStringLiteral("December"));
            painter.drawText(194, y, QString::number(6 + row));
        }
        painter.drawText(234, 85, QStringLiteral("Dentist at half past ten"));
    }

    bool m_with_text;
    bool m_painted = false;
};

}  // namespace

int main(int argc, char** argv) {
    const bool with_text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    int qt_argc = 1;
    QApplication app(qt_argc, argv);
    FirstPaintWindow window(with_text);
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(655, 500);
    window.show();
    return app.exec();
}
