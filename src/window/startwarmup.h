#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QStringList>

#include <thread>

// Reads the system's font configuration on a thread of its own while the application object and the start
// window are built, so the first paint finds it read instead of reading it then. Qt's font database asks
// the same library, which keeps one configuration per process. Where fonts are not found that way (no
// fontconfig in this Qt, or another system), nothing is started. Create it before the application object.
class FontConfigurationWarmUp
{
public:
    FontConfigurationWarmUp();
    ~FontConfigurationWarmUp();
    FontConfigurationWarmUp(const FontConfigurationWarmUp &) = delete;
    FontConfigurationWarmUp &operator=(const FontConfigurationWarmUp &) = delete;

    // Returns once the configuration is read, at once where nothing was started.
    void wait();

private:
    std::thread m_thread;
};

// Decodes pictures on a thread of their own while the caller goes on building its window; pixmap() waits
// for them. A picture that cannot be read gives a null pixmap, as QPixmap(path) would.
class PictureLoader
{
public:
    explicit PictureLoader(const QStringList &paths);
    ~PictureLoader();
    PictureLoader(const PictureLoader &) = delete;
    PictureLoader &operator=(const PictureLoader &) = delete;

    // The picture of paths[index]; call from the thread that owns the widgets.
    QPixmap pixmap(int index);

private:
    void wait();

    QStringList m_paths;
    QList<QImage> m_images;
    std::thread m_thread;
};
