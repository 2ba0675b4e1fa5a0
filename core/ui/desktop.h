// The desktop seam: opening a document with its default application and moving the mouse
// pointer. Production uses QDesktopServices and QCursor; tests record the calls.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <vector>

namespace orvane {

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual bool OpenDocument(const QString& path) = 0;
    virtual void MovePointer(const QPoint& global) = 0;
};

class SystemDesktop final : public Desktop {
public:
    bool OpenDocument(const QString& path) override;
    void MovePointer(const QPoint& global) override;
};

class RecordingDesktop final : public Desktop {
public:
    bool OpenDocument(const QString& path) override {
        opened << path;
        return true;
    }
    void MovePointer(const QPoint& global) override { pointer_moves.push_back(global); }

    QStringList opened;
    std::vector<QPoint> pointer_moves;
};

} // namespace orvane
