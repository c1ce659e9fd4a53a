// MetadataExtractor against the usual command-line readers over the same files, in one run:
//   1,000 JPEGs with EXIF against one `exiftool -fast -j` process;
//   200 short MP4s against one `ffprobe -show_format -show_streams` per file;
//   peak resident memory after batches of 1,000 and 10,000 files.
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

} // namespace

int main()
{
    QTemporaryDir jpegs, videos, many;
    const QStringList photos = copies(jpegs.path(), u"photo.jpg"_s, 1000);
    secondsToExtract(photos.first(10)); // libraries loaded before timing
    const double ours = secondsToExtract(photos);
    const double exiftool = secondsToRun(u"exiftool"_s, {u"-fast"_s, u"-j"_s, jpegs.path()});
    std::printf("1,000 JPEGs       MetadataExtractor %6.3f s   exiftool -fast -j %6.3f s   %5.1fx faster   "
                "(goal: >= 5x)\n",
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

    const QStringList thousand = copies(many.path(), u"photo.jpg"_s, 1000);
    secondsToExtract(thousand);
    const qint64 afterThousand = BenchSupport::statusKiB("VmHWM:");
    QStringList tenThousand;
    for (int round = 0; round < 10; ++round)
        tenThousand += thousand;
    secondsToExtract(tenThousand);
    std::printf("peak resident memory   after 1,000 files %6.1f MB   after 10,000 files %6.1f MB\n",
                double(afterThousand) / 1024, double(BenchSupport::statusKiB("VmHWM:")) / 1024);
}
