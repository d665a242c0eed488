#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace exporting {

// One file of an export, written under a temporary name beside its target and moved
// into place only by commit(), so that a cancel or a failure never leaves half a file
// nor touches a file already there. Text goes into a buffer, written out in large
// blocks. Every failure throws the store's error naming the target file.
class ExportFile {
public:
    explicit ExportFile(const QString& target);
    // Takes the temporary file away unless commit() has moved it into place.
    ~ExportFile();
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    QByteArray& text() { return m_buffer; }
    // Writes the buffer out once it has grown large; call between rows.
    void flushIfFull() {
        if (m_buffer.size() >= kBlock)
            flush();
    }
    // Writes the rest and makes it durable; the file is whole after this.
    void finish();
    // Moves the finished file onto its target.
    void commit();

    const QString& target() const { return m_target; }

private:
    static constexpr qsizetype kBlock = 1 << 20;
    void flush();
    [[noreturn]] void fail(int number, const QString& reason) const;

    QString m_target;
    QString m_temporary;
    QFile m_file;
    QByteArray m_buffer;
    bool m_committed = false;
};

} // namespace exporting
