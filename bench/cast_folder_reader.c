/* The yardstick of the cast list benchmark: the least a program can do to
 * list the casts of a game folder. It lists GAME/cast once and reads each
 * profile file (a name ending in ".cst" in any letter case) and the data
 * file beside it (the same name ending in ".dat") whole, relative to the
 * folder's descriptor, then prints how many casts and bytes it read. No
 * sorting, no parsing, no output per cast.
 *
 *   cast_folder_reader GAME
 */
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

static long ReadWhole(int folder, const char* name) {
  char buffer[4096];
  long total = 0;
  ssize_t n;
  int fd = openat(folder, name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) total += n;
  close(fd);
  return total;
}

int main(int argc, char** argv) {
  char path[4096];
  DIR* listing;
  struct dirent* entry;
  long casts = 0;
  long bytes = 0;
  if (argc != 2) {
    fprintf(stderr, "usage: cast_folder_reader GAME\n");
    return 2;
  }
  snprintf(path, sizeof path, "%s/cast", argv[1]);
  listing = opendir(path);
  if (listing == NULL) {
    perror(path);
    return 1;
  }
  while ((entry = readdir(listing)) != NULL) {
    char name[sizeof entry->d_name];
    size_t length = strlen(entry->d_name);
    if (length < 4 || strcasecmp(entry->d_name + length - 4, ".cst") != 0) continue;
    memcpy(name, entry->d_name, length + 1);
    bytes += ReadWhole(dirfd(listing), name);
    memcpy(name + length - 4, ".dat", 4);
    bytes += ReadWhole(dirfd(listing), name);
    ++casts;
  }
  closedir(listing);
  printf("%ld casts, %ld bytes\n", casts, bytes);
  return 0;
}
