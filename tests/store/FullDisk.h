#pragma once

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>

// While it lives, every write of this process past `bytes` into a file fails
// with EFBIG, as a full disk fails with ENOSPC. Needs no special rights.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_original);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, m_original.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_original); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_original{};
};

// A disk that a test fills while the code under test writes: a real disk of
// 64 KiB (a tmpfs) for ENOSPC itself, or else a FileSizeLimit. Mounting needs
// root; where it is not permitted Usable() is false and the test skips.
class FullDisk {
public:
    static constexpr qint64 PageSize = 4096;

    explicit FullDisk(bool real) : m_real(real) {
        m_mounted = real && m_folder.isValid() &&
                    ::mount("tmpfs", QFile::encodeName(m_folder.path()).constData(), "tmpfs", 0,
                            "size=64k") == 0;
    }
    ~FullDisk() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder.path()).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool Usable() const { return !m_real || m_mounted; }
    // Where a test's file at `path` goes: on the real disk by the same name.
    QString Place(const QString& path) const {
        return m_real ? m_folder.filePath(QFileInfo(path).fileName()) : path;
    }
    // Runs write() with the real disk full but leaveFree bytes (whole pages),
    // or else with files limited to limitBytes.
    template <typename Write> auto WhileFull(qint64 leaveFree, rlim_t limitBytes, Write write) {
        std::optional<FileSizeLimit> limit;
        if (m_real)
            fill(leaveFree);
        else
            limit.emplace(limitBytes);
        return write();
    }
    // The system's words for the failure a write meets.
    QString Reason() const { return qt_error_string(m_real ? ENOSPC : EFBIG); }
    // Gives the real disk's space back.
    void Free() { QFile::remove(m_folder.filePath(FillerName)); }

private:
    void fill(qint64 leaveFree) {
        QFile filler(m_folder.filePath(FillerName));
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray page(PageSize, 'f');
        while (filler.write(page) == page.size()) {
        }
        filler.resize(filler.size() / PageSize * PageSize - leaveFree);
    }

    static constexpr const char* FillerName = "filler";
    const bool m_real;
    QTemporaryDir m_folder;
    bool m_mounted = false;
};
