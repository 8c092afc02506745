// The least a Qt Widgets program does to show a JPEG: one window, of the main window's size and
// shown as quirelle shows its own, that paints the picture named on its command line. The
// reference of the start-up benchmark (FirstFrameBench.cpp).
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace {

class Picture : public QWidget {
public:
    explicit Picture(const QString &path) : image_(path) {}

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, image_); }

private:
    QImage image_;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    Picture window(QString::fromLocal8Bit(argv[1]));
    window.resize(995, 1036); // as TForm1 does before it is shown
    window.showMaximized();
    return QApplication::exec();
}
