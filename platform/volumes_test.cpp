#include "platform/volumes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(VolumesTest, MountInfoKeepsWritableMountsThatHoldFiles)
{
    const std::string mountinfo =
        "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "23 22 0:5 / /proc rw,nosuid - proc proc rw\n"
        "24 22 8:3 / /home rw,relatime - ext4 /dev/sda3 rw\n"
        "25 22 8:4 / /mnt/old\\040disk ro,relatime - ext4 /dev/sda4 ro\n"
        "26 22 8:5 / /media/My\\040Disk rw - vfat /dev/sdb1 rw\n"
        "27 22 7:0 / /snap/core rw - squashfs /dev/loop0 ro\n"
        "28 22 11:0 / /media/cdrom rw - udf /dev/sr0 rw\n"
        "29 22 0:30 / /run rw - tmpfs tmpfs rw\n"
        "30 22 254:1 / /data rw shared:7 master:2 - xfs /dev/mapper/vg-data rw\n"
        "31 22 0:40 / /tank rw - zfs tank/data rw\n"
        "32 22 0:41 / /srv/share rw - nfs4 server:/export rw\n"
        "33 22 0:6 / /sys rw - sysfs sysfs rw\n"
        "34 22 0:7 / /dev/pts rw - devpts devpts rw\n"
        "35 22 0:8 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
        "garbage line\n";
    EXPECT_EQ(vt::parseMountInfo(mountinfo), (std::vector<std::string> {"/", "/home/", "/media/My Disk/", "/run/",
                                                                          "/data/", "/tank/", "/srv/share/"}));
    // The root of a container: an overlay mount.
    EXPECT_EQ(vt::parseMountInfo("500 400 0:52 / / rw,relatime - overlay overlay rw,lowerdir=/l,upperdir=/u\n"),
              (std::vector<std::string> {"/"}));
}

class FakeVolumes : public vt::VolumeSource {
public:
    std::vector<vt::Volume> list;
    std::vector<vt::Volume> volumes() const override { return list; }
};

TEST(VolumesTest, VolumeOfPicksTheDeepestMount)
{
    FakeVolumes fake;
    fake.list = {{"/", 1}, {"/home/", 2}, {"/home/user/disk/", 3}};
    struct Case {
        const char *path;
        uint64_t expectedFree;
    } cases[] = {
        {"/home/user/disk/DVD/", 3}, {"/home/user/diskette", 2}, {"/home", 2}, {"/var/tmp", 1},
    };
    for (const Case &c : cases) {
        const auto v = vt::volumeOf(fake, c.path);
        ASSERT_TRUE(v) << c.path;
        EXPECT_EQ(v->freeBytes, c.expectedFree) << c.path;
    }
    EXPECT_FALSE(vt::volumeOf(fake, "relative/path"));
    EXPECT_FALSE(vt::volumeOf(fake, ""));
    fake.list = {{"/home/", 2}};
    EXPECT_FALSE(vt::volumeOf(fake, "/var/tmp"));
}

TEST(VolumesTest, FileSystemRoots)
{
    FakeVolumes fake;
    fake.list = {{"/home/user/disk/", 3}};
    EXPECT_TRUE(vt::isFileSystemRoot(fake, "/"));
    EXPECT_TRUE(vt::isFileSystemRoot(fake, "/home/user/disk"));
    EXPECT_TRUE(vt::isFileSystemRoot(fake, "/proc"));  // a mount point of its own
    EXPECT_FALSE(vt::isFileSystemRoot(fake, "/home/user/disk/DVD/"));
    EXPECT_FALSE(vt::isFileSystemRoot(fake, "/proc/self"));
    EXPECT_FALSE(vt::isFileSystemRoot(fake, "relative"));
}

TEST(VolumesTest, SystemVolumesAreMountedFolders)
{
    for (const vt::Volume &v : vt::SystemVolumes().volumes()) {
        EXPECT_EQ(v.root.back(), '/');
        EXPECT_TRUE(std::filesystem::is_directory(v.root)) << v.root;
        const auto same = vt::volumeOf(vt::SystemVolumes(), v.root);
        ASSERT_TRUE(same);
        EXPECT_EQ(same->root, v.root);
    }
}

} // namespace
