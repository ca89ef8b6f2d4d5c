#include "platform/gui/ResizeWatch.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "platform/gui/WinControl.h"

namespace {

class TResizeFilter : public QObject {
public:
    TResizeFilter(QWidget* widget, std::function<void()> onResize) : FWidget(widget), FOnResize(std::move(onResize))
    {
        widget->installEventFilter(this);
    }
    ~TResizeFilter() override
    {
        if (FWidget)
            FWidget->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == FWidget && e->type() == QEvent::Resize && FOnResize)
            FOnResize();
        return false;
    }

private:
    QPointer<QWidget> FWidget;
    std::function<void()> FOnResize;
};

}  // namespace

TResizeWatch::TResizeWatch(TWinControl* Watched, std::function<void()> OnResize)
    : FFilter(std::make_unique<TResizeFilter>(Watched->Handle(), std::move(OnResize)))
{}

TResizeWatch::~TResizeWatch() = default;
