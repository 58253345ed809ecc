#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>

// Two ways for a test to make the disk look full to the code under test.

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

// A real disk of 64 KiB (a tmpfs), for ENOSPC itself. Mounting needs root;
// where it is not permitted IsMounted() is false and the test skips.
class TinyDisk {
public:
    static constexpr qint64 PageSize = 4096;

    TinyDisk() {
        m_mounted =
            m_folder.isValid() && ::mount("tmpfs", QFile::encodeName(m_folder.path()).constData(),
                                          "tmpfs", 0, "size=64k") == 0;
    }
    ~TinyDisk() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder.path()).constData(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;

    bool IsMounted() const { return m_mounted; }
    QString FilePath(const QString& name) const { return m_folder.filePath(name); }

    // Takes up all the free space but leaveFree bytes (whole pages).
    void Fill(qint64 leaveFree = 0) {
        QFile filler(FilePath(FillerName));
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray page(PageSize, 'f');
        while (filler.write(page) == page.size()) {
        }
        filler.resize(filler.size() / PageSize * PageSize - leaveFree);
    }
    // Gives the space back.
    void Free() { QFile::remove(FilePath(FillerName)); }

private:
    static constexpr const char* FillerName = "filler";
    QTemporaryDir m_folder;
    bool m_mounted = false;
};
