// The bare Qt Widgets program that the diary's start-up is measured against: one window of the
// diary's size, shown, and closed as soon as it has been painted once. It reads no settings, no
// entries and no fonts, plays no sound and saves nothing, so the time from its start to its exit
// is what Qt itself needs to open and paint a window on the same platform.
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class FirstPaintWindow final : public QWidget {
protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().window());
        if (m_painted) return;
        m_painted = true;
        // Leaves once this painting is done, as the diary leaves after its first week.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }

private:
    bool m_painted = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaintWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(655, 500);
    window.show();
    return app.exec();
}
