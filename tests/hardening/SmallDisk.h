#pragma once
// A small RAM disk for writes that run out of room, mounted for the test where the system
// lets it (root with the right to mount, as in CI).

#include <sys/mount.h>
#include <unistd.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

class SmallDisk {
public:
    // 64 KB of tmpfs at path, made when missing.
    explicit SmallDisk(const QString& path) : path_(QFile::encodeName(path))
    {
        mounted_ = QDir().mkpath(path) && ::mount("tmpfs", path_.constData(), "tmpfs",
                                                  MS_NOSUID | MS_NODEV, "size=64k") == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(path_.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return mounted_; }

private:
    QByteArray path_;
    bool mounted_ = false;
};

// Fills the disk that holds folder with the file "filler", then gives back room bytes of it
// (in whole pages), so that a larger write runs out of room part of the way through.
inline bool FillUp(const QString& folder, qint64 room = 0)
{
    QFile filler(folder + "/filler");
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(512, 'f');
    while (filler.write(block) == block.size()) {
    }
    return room == 0 || filler.resize(filler.size() - room);
}
