// MetadataExtractor against the usual command-line readers over the same files, in one run:
//   1,000 JPEGs with EXIF against one `exiftool -fast -j` process;
//   200 short MP4s against one `ffprobe -show_format -show_streams` per file;
//   1,000 tagged MP3, M4A and FLAC files against one `exiftool -fast -j` process;
//   the peak resident memory of batches of 1,000 and 10,000 files, each in a process of its own.
#include "BenchSupport.h"
#include "metadata/MetadataExtractor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QString fixtures = QStringLiteral(TESSARY_FIXTURES);

QStringList copies(const QString& folder, const QString& fixture, int count)
{
    QStringList paths;
    const QString extension = fixture.section(u'.', -1);
    for (int i = 0; i < count; ++i) {
        const QString path = folder + u"/file%1."_s.arg(i) + extension;
        QFile::copy(fixtures + u'/' + fixture, path);
        paths.append(path);
    }
    return paths;
}

double secondsToExtract(const QStringList& paths)
{
    QElapsedTimer timer;
    timer.start();
    const QList<Fields> results = MetadataExtractor::fields(paths);
    if (results.size() != paths.size() || results.last().size() < 4)
        qFatal("Extraction failed");
    return double(timer.nsecsElapsed()) / 1e9;
}

double secondsToRun(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s failed", qPrintable(program));
    return double(timer.nsecsElapsed()) / 1e9;
}

// Reads `count` copies of a JPEG, keeping every result, and prints the process's peak resident size.
int printPeakReading(int count)
{
    QTemporaryDir folder;
    const QStringList paths = copies(folder.path(), u"photo.jpg"_s, count);
    const QList<Fields> results = MetadataExtractor::fields(paths);
    std::printf("%lld\n", qlonglong(results.size() == count ? BenchSupport::statusKiB("VmHWM:") : -1));
    return 0;
}

qint64 peakKiBReading(int count)
{
    QProcess child;
    child.start(u"/proc/self/exe"_s, {u"--peak-reading"_s, QString::number(count)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("the memory measurement failed");
    return child.readAllStandardOutput().trimmed().toLongLong();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--peak-reading") == 0)
        return printPeakReading(QByteArray(argv[2]).toInt());

    QTemporaryDir jpegs, videos, audio;
    const QStringList photos = copies(jpegs.path(), u"photo.jpg"_s, 1000);
    secondsToExtract(photos.first(10)); // libraries loaded before timing
    const double ours = secondsToExtract(photos);
    const double exiftool = secondsToRun(u"exiftool"_s, {u"-fast"_s, u"-j"_s, jpegs.path()});
    std::printf("1,000 JPEGs       MetadataExtractor %6.3f s   exiftool -fast -j %6.3f s   %5.1fx faster   "
                "(goal: >= 20x)\n",
                ours, exiftool, exiftool / ours);

    const QStringList clips = copies(videos.path(), u"video.mp4"_s, 200);
    const double oursVideo = secondsToExtract(clips);
    double ffprobe = 0;
    for (const QString& clip : clips)
        ffprobe +=
            secondsToRun(u"ffprobe"_s, {u"-v"_s, u"quiet"_s, u"-show_format"_s, u"-show_streams"_s, clip});
    std::printf("200 MP4s          MetadataExtractor %6.3f s   ffprobe per file %6.3f s   %5.1fx faster   "
                "(goal: >= 10x)\n",
                oursVideo, ffprobe, ffprobe / oursVideo);

    const QStringList songs = copies(audio.path(), u"song.mp3"_s, 334) +
                              copies(audio.path(), u"song.m4a"_s, 333) +
                              copies(audio.path(), u"song.flac"_s, 333);
    const double oursAudio = secondsToExtract(songs);
    const double exiftoolAudio = secondsToRun(u"exiftool"_s, {u"-fast"_s, u"-j"_s, audio.path()});
    std::printf("1,000 audio files MetadataExtractor %6.3f s   exiftool -fast -j %6.3f s   %5.1fx faster   "
                "(goal: >= 10x)\n",
                oursAudio, exiftoolAudio, exiftoolAudio / oursAudio);

    // Each batch size in a process of its own, so that no earlier batch's freed memory hides its peak.
    // The results grow with the batch by their nature; the growth per file is their field maps.
    const qint64 peakThousand = peakKiBReading(1000);
    const qint64 peakTenThousand = peakKiBReading(10000);
    std::printf(
        "peak resident memory   1,000 files %6.1f MB   10,000 files %6.1f MB   %4.2f KB per further file "
        "(goal: flat but for the results)\n",
        double(peakThousand) / 1024, double(peakTenThousand) / 1024,
        double(peakTenThousand - peakThousand) / 9000);
}
