#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QPropertyAnimation;
class QWidget;

// A named block of frame changes that run as one animation: between begin()
// and commit() setFrame() collects moves; outside a block it moves at once.
// When the last move of a block ends, didStop(name, finished) runs;
// finished is false when a later direct move cut one short.
class ViewAnimation : public QObject {
    Q_OBJECT
public:
    using DidStop = std::function<void(const QString& name, bool finished)>;

    explicit ViewAnimation(QObject* parent = nullptr);
    ~ViewAnimation() override;

    // Nested blocks join the outermost one.
    void begin(const QString& name, DidStop didStop = {});
    void commit();
    bool isOpen() const { return m_depth > 0; }
    bool isRunning() const { return !m_running.isEmpty(); }

    void setFrame(QWidget* widget, const QRect& frame);
    int durationMs() const { return m_durationMs; }
    void setDurationMs(int ms) { m_durationMs = ms; }

private:
    struct Block;
    void finishOne(const std::shared_ptr<Block>& block, bool cutShort);

    int m_depth = 0;
    int m_durationMs = 200;
    std::shared_ptr<Block> m_open;
    QHash<QWidget*, QPointer<QPropertyAnimation>> m_running;
};
