/* The floor of the bench: the system calls that a run of the usage example
 * cannot do without, and nothing else. It creates the output, opens and reads
 * each input into one image of the snapshot's size, writes the image once and
 * closes the output. It checks nothing and prints nothing.
 *
 *   floor OUTPUT PC INPUT DEST [INPUT DEST]...
 */
#include <fcntl.h>
#include <unistd.h>

enum { snapshot_size = 131103, header_size = 27, placement_limit = 49152 };

static unsigned char image[snapshot_size];

int main(int argc, char **argv) {
  if (argc < 5) {
    return 1;
  }
  const int output = open(argv[1], O_WRONLY | O_CREAT | O_TRUNC, 0666);
  for (int pair = 3; pair + 1 < argc; pair += 2) {
    const int input = open(argv[pair], O_RDONLY);
    if (read(input, image + header_size, placement_limit) < 0) {
      return 1;
    }
    close(input);
  }
  const int written = write(output, image, sizeof image) == sizeof image;
  return close(output) == 0 && written ? 0 : 1;
}
