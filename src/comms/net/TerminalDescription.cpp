#include "comms/net/TerminalDescription.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <system_error>

extern char** environ;

namespace kalvor::net {
namespace {

constexpr std::string_view kSource = R"(# hp70092 as Kalvor implements it (written by Kalvor, compiled with tic).
hp70092|hp70092a|hp70092A|HP 700/92,
	am, da, db, xhp,
	cols#80, lh#2, lines#24, lm#0, lw#8, nlab#8,
	acsc=0cjgktlrmfn/q\,t5u6v8w7x., bel=^G, blink=\E&dA,
	bold=\E&dB, cbt=\Ei, clear=\E&a0y0C\EJ, cr=\r, cub1=^H,
	cud1=\EB, cuf1=\EC, cup=\E&a%p1%dy%p2%dC, cuu1=\EA,
	dch1=\EP, dim=\E&dH, dl1=\EM, ed=\EJ, el=\EK,
	hpa=\E&a%p1%dC, ht=^I, hts=\E1, il1=\EL, kbs=^H, kclr=\EJ,
	kctab=\E2, kcub1=\ED, kcud1=\EB, kcuf1=\EC, kcuu1=\EA,
	kdch1=\EP, kdl1=\EM, ked=\EJ, kel=\EK, kend=\EF,
	kf1=\Ep\r, kf2=\Eq\r, kf3=\Er\r, kf4=\Es\r, kf5=\Et\r,
	kf6=\Eu\r, kf7=\Ev\r, kf8=\Ew\r, khome=\EH, khts=\E1,
	kich1=\EQ, kil1=\EL, kind=\ES, kll=\EF, knp=\EU, kpp=\EV, kri=\ET, krmir=\ER, ktbc=\E3, rev=\E&dB,
	ri=\ET, rmacs=^O, rmir=\ER, rmkx=\E&s0A, rmln=\E&j@,
	rmso=\E&d@, rmul=\E&d@, sgr0=\E&d@, smacs=^N, smir=\EQ,
	smkx=\E&s1A, smln=\E&jB, smso=\E&dJ, smul=\E&dD, tbc=\E3,
	vpa=\E&a%p1%dY,
)";

std::string ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs tic quietly; true when it succeeded.
bool RunTic(const std::filesystem::path& source, const std::filesystem::path& folder)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string tic = "tic", out = "-o", dir = folder.string(), src = source.string();
    char* argv[] = {tic.data(), out.data(), dir.data(), src.data(), nullptr};
    pid_t pid = -1;
    const int rc = ::posix_spawnp(&pid, "tic", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

std::string_view TerminalDescriptionSource() { return kSource; }

bool InstallTerminalDescription(const std::filesystem::path& folder)
{
    std::error_code ec;
    const std::filesystem::path source = folder / "hp70092.ti";
    const std::filesystem::path compiled = folder / "h" / "hp70092";
    if (std::filesystem::is_regular_file(compiled, ec) && ReadFile(source) == kSource)
        return true;
    std::filesystem::create_directories(folder, ec);
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(kSource.data(), static_cast<std::streamsize>(kSource.size())).flush())
            return false;
    }
    std::filesystem::remove(compiled, ec);
    return RunTic(source, folder) && std::filesystem::is_regular_file(compiled, ec);
}

} // namespace kalvor::net
