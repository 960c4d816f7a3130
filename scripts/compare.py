#!/usr/bin/env python3
"""layerpix-compose against ImageMagick and libvips on the same generated pictures.

Run through ./scripts/bench --compare, which installs the two peers and builds first.
Each case (a format, one background or a batch) runs every tool in turn, the order
rotating from round to round, after one untimed warm-up; the table gives the median
wall-clock and CPU time of the whole processes, the peers' times as multiples of
layerpix-compose's, the output sizes, and how close each peer's picture is to ours.
"""
import argparse
import math
import os
import resource
import shutil
import statistics
import subprocess
import sys
import time

BACK_SIZE = (6000, 4000)
FRONT_SIZE = (3000, 2000)
KEY = "FF00FF"            # the foreground's backdrop, keyed out
RATE = 70                 # the foreground's weight in percent
AT = (1500, 1000)         # the foreground's top-left corner on the background
JPEG_QUALITY = 90         # every tool: quality 90, 4:2:0, no Huffman optimisation
ZLIB_LEVEL = 1            # every tool: zlib level 1 (the peers with adaptive row filters)
BATCH = 20
LOGO_SIZE = (600, 200)    # the small logo stamped with the JPEG blocks kept
LOGO_AT = (2701, 1901)    # on no MCU's edge
FORMATS = ("bmp", "jpg", "png")
# (case, peer, the least multiple of our time the peer must take)
TARGETS = [
    ("bmp x1", "ImageMagick", 3.0), ("jpg x1", "ImageMagick", 3.0),
    ("png x1", "ImageMagick", 2.0), ("jpg x1", "libvips", 1.0),
    ("bmp x20", "ImageMagick", 3.0), ("jpg x20", "ImageMagick", 3.0),
    ("png x20", "ImageMagick", 3.0),
    ("logo camera", "re-encoded", 3.0), ("logo camera", "libvips", 3.0),
    ("logo fitted", "re-encoded", 3.0), ("logo fitted", "libvips", 3.0),
]

# (case, peer): one job of ours peaks below the peer's on the same pair
MEMORY_TARGETS = [("jpg x1", "libvips"), ("png x1", "libvips")]


def imagemagick(tool):
    """The real ImageMagick 6 program, not a stand-in earlier on the PATH."""
    for path in ("/usr/bin/%s-im6.q16" % tool, "/usr/bin/%s" % tool):
        if os.access(path, os.X_OK):
            return path
    sys.exit("compare: ImageMagick's %s is not installed" % tool)


CONVERT = imagemagick("convert")
COMPARE = imagemagick("compare")
VIPS = shutil.which("vips")


def run(argv):
    subprocess.run(argv, check=True, stdout=subprocess.DEVNULL)


def generate(folder):
    """The pictures, made once: a photo-like background in each format (a plasma enlarged,
    with grain) and a logo on a backdrop of the key colour."""
    stamp = os.path.join(folder, "made-with-camera")
    if os.path.exists(stamp):
        return
    os.makedirs(folder, exist_ok=True)
    print("Making the pictures in %s ..." % folder, flush=True)
    raw = os.path.join(folder, "back.ppm")
    run([CONVERT, "-seed", "7", "-size", "600x400", "plasma:fractal",
         "-resize", "%dx%d!" % BACK_SIZE, "-attenuate", "0.4", "+noise", "Gaussian",
         "-depth", "8", raw])
    run([CONVERT, raw, "-type", "TrueColor", "BMP3:" + os.path.join(folder, "back.bmp")])
    run([CONVERT, raw, "-quality", "95", os.path.join(folder, "back.jpg")])
    # As cameras write it: 4:2:0 with the standard Huffman tables, not ones fitted to it.
    run([CONVERT, raw, "-quality", "95", "-sampling-factor", "2x2", "-define", "jpeg:optimize-coding=false",
         os.path.join(folder, "back-camera.jpg")])
    run([CONVERT, raw, "-define", "png:compression-level=%d" % ZLIB_LEVEL,
         "PNG24:" + os.path.join(folder, "back.png")])
    os.remove(raw)
    w, h = FRONT_SIZE
    run([CONVERT, "-size", "%dx%d" % FRONT_SIZE, "xc:#" + KEY,
         "(", "-size", "%dx%d" % (w * 3 // 4, h * 3 // 4), "gradient:#203060-#E0B040", ")",
         "-geometry", "+%d+%d" % (w // 8, h // 8), "-composite",
         "-fill", "#F8F8F0", "-draw", "circle %d,%d %d,%d" % (w // 2, h // 2, w // 2, h // 4),
         "-fill", "#102040",
         "-draw", "roundrectangle %d,%d %d,%d 60,60" % (w * 3 // 10, h * 4 // 10, w * 7 // 10, h * 6 // 10),
         "-alpha", "off", "PNG24:" + os.path.join(folder, "front.png")])
    # The peers take the keyed foreground as a picture with alpha, made once beforehand as
    # their users would keep it; layerpix-compose keys the plain one itself on every run.
    w, h = LOGO_SIZE
    run([CONVERT, "-size", "%dx%d" % LOGO_SIZE, "xc:#" + KEY,
         "(", "-size", "%dx%d" % (w - 40, h - 40), "gradient:#E0B040-#203060", ")",
         "-geometry", "+20+20", "-composite", "-fill", "#F8F8F0",
         "-draw", "circle %d,%d %d,%d" % (h // 2, h // 2, h // 2, h // 5),
         "-alpha", "off", "PNG24:" + os.path.join(folder, "logo.png")])
    if VIPS:
        for name in ("front", "logo"):
            picture = os.path.join(folder, name + ".png")
            mask = os.path.join(folder, "mask.v")
            run([VIPS, "relational_const", picture, mask, "noteq",
                 " ".join(str(int(KEY[i:i + 2], 16)) for i in (0, 2, 4))])
            run([VIPS, "bandbool", mask, mask + ".or.v", "or"])
            run([VIPS, "linear", mask + ".or.v", mask + ".alpha.v", str(RATE / 100), "0", "--uchar"])
            run([VIPS, "bandjoin", "%s %s" % (picture, mask + ".alpha.v"),
                 os.path.join(folder, name + "-keyed.v")])
            for leftover in (mask, mask + ".or.v", mask + ".alpha.v"):
                os.remove(leftover)
    for fmt in FORMATS:
        batch = os.path.join(folder, "batch-" + fmt)
        os.makedirs(batch, exist_ok=True)
        for i in range(BATCH):
            name = os.path.join(batch, "photo-%02d.%s" % (i + 1, fmt))
            if not os.path.exists(name):
                os.link(os.path.join(folder, "back." + fmt), name)
    open(stamp, "w").close()


def layerpix_commands(program, folder, fmt, backs, out, front="front", at=AT, extra=()):
    return [[program, "--foreground", os.path.join(folder, front + ".png"), "--key", KEY,
             "--rate", str(RATE), "--at", "%d,%d" % at, "--format", fmt,
             "--jpeg-rate", str(101 - JPEG_QUALITY), "--png-rate", "1", "--overwrite",
             "-o", out] + list(extra) + backs]


def imagemagick_commands(folder, fmt, backs, out, front="front", at=AT):
    save = {"bmp": ["-type", "TrueColor"],
            "jpg": ["-quality", str(JPEG_QUALITY), "-sampling-factor", "2x2",
                    "-define", "jpeg:optimize-coding=false"],
            "png": ["-define", "png:compression-level=%d" % ZLIB_LEVEL,
                    "-define", "png:compression-filter=5"]}[fmt]
    prefix = {"bmp": "BMP3:", "jpg": "", "png": "PNG24:"}[fmt]
    return [[CONVERT, back, "(", os.path.join(folder, front + ".png"), "-transparent", "#" + KEY, ")",
             "-geometry", "+%d+%d" % at, "-compose", "dissolve",
             "-define", "compose:args=%d" % RATE, "-composite", "-alpha", "off"] + save +
            [prefix + output_name(back, out)] for back in backs]


def vips_commands(folder, fmt, backs, out, front="front", at=AT):
    keyed = os.path.join(folder, front + "-keyed.v")
    commands = []
    for back in backs:
        target = output_name(back, out)
        over = [VIPS, "composite2", back, keyed]
        place = ["over", "--x", str(at[0]), "--y", str(at[1])]
        if fmt == "jpg":   # jpegsave drops the (everywhere opaque) alpha itself
            commands.append(over + ["%s[Q=%d,subsample-mode=on]" % (target, JPEG_QUALITY)] + place)
        else:              # pngsave would keep it: flatten it away in a second step
            step = target + ".v"
            commands.append(over + [step] + place)
            commands.append([VIPS, "flatten", step, "%s[compression=%d,filter=all]" % (target, ZLIB_LEVEL)])
    return commands


def output_name(back, out):
    return os.path.join(out, os.path.basename(back))


def mse(ours, theirs, crop):
    """The normalised mean squared error of their picture against ours within `crop`
    (x, y, width, height)."""
    area = "[%dx%d+%d+%d]" % (crop[2], crop[3], crop[0], crop[1])
    result = subprocess.run([COMPARE, "-metric", "MSE", ours + area, theirs + area, "null:"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return float(result.stderr.split("(")[1].split(")")[0])


def region_psnr(reference, picture, inside):
    """PSNR in dB of `picture` against `reference` inside the rectangle `inside` and outside it
    (the four strips around it, weighted by their areas)."""
    x, y, w, h = inside
    width, height = BACK_SIZE
    strips = [(0, 0, width, y), (0, y + h, width, height - y - h), (0, y, x, h), (x + w, y, width - x - w, h)]
    errors = [(mse(reference, picture, s), s[2] * s[3]) for s in strips]
    outside = sum(e * a for e, a in errors) / sum(a for _, a in errors)
    to_db = lambda e: "inf" if e == 0 else "%.2f" % (10 * math.log10(1 / e))
    return to_db(mse(reference, picture, inside)), to_db(outside)


def logo_case(program, pictures, work, rounds, background, what):
    """A 600 x 200 logo on the 24 MP JPEG `background`: the JPEG blocks kept against the whole
    re-encode and the peers; PSNR against the exact composite (written as PNG), inside the
    logo and outside it."""
    back = [os.path.join(pictures, background)]
    reference_folder = os.path.join(work, "out", "reference")
    shutil.rmtree(reference_folder, ignore_errors=True)
    os.makedirs(reference_folder)
    run(layerpix_commands(program, pictures, "png", back, reference_folder, "logo", LOGO_AT)[0])
    reference = os.path.join(reference_folder, os.path.splitext(background)[0] + ".png")
    tools = [("blocks kept", "kept", lambda out: layerpix_commands(
                 program, pictures, "jpg", back, out, "logo", LOGO_AT, ["--keep-jpeg-blocks"])),
             ("re-encoded", "whole", lambda out: layerpix_commands(program, pictures, "jpg", back, out, "logo", LOGO_AT)),
             ("ImageMagick", "im", lambda out: imagemagick_commands(pictures, "jpg", back, out, "logo", LOGO_AT))]
    if VIPS:
        tools.append(("libvips", "vips", lambda out: vips_commands(pictures, "jpg", back, out, "logo", LOGO_AT)))
    walls = {name: [] for name, _, _ in tools}
    cpus = {name: [] for name, _, _ in tools}
    for round_ in range(rounds + 1):
        shift = round_ % len(tools)
        for name, tag, commands in tools[shift:] + tools[:shift]:
            out = os.path.join(work, "out", "logo-" + tag)
            shutil.rmtree(out, ignore_errors=True)
            os.makedirs(out)
            wall, cpu, _ = timed(commands(out))
            if round_ > 0:
                walls[name].append(wall)
                cpus[name].append(cpu)
    print()
    print("A %dx%d logo at %d,%d on %s (%s); PSNR against the exact composite"
          % (LOGO_SIZE + LOGO_AT + (background, what)))
    header = "%-11s %-16s %9s %9s %7s %12s %10s %10s" % ("case", "tool", "wall s", "cpu s", "x kept", "output B",
                                                        "in dB", "out dB")
    print(header)
    print("-" * len(header))
    ours = statistics.median(walls["blocks kept"])
    case = "logo " + ("camera" if "camera" in background else "fitted")
    ratios = {}
    for tool, tag, _ in tools:
        wall = statistics.median(walls[tool])
        ratios[(case, tool)] = wall / ours
        produced = os.path.join(work, "out", "logo-" + tag, background)
        inside, outside = region_psnr(reference, produced, LOGO_AT + LOGO_SIZE)
        print("%-11s %-16s %9.2f %9.2f %7.2f %12d %10s %10s" % (
            case, tool, wall, statistics.median(cpus[tool]), wall / ours, os.path.getsize(produced),
            inside, outside), flush=True)
    return ratios


def timed(commands):
    """Wall-clock and CPU seconds (user + system, all processes) of running them in order, and
    the largest peak resident memory of one of them, in MiB."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    peak = 0
    for argv in commands:
        process = subprocess.Popen(argv, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        if process.returncode != 0:
            raise subprocess.CalledProcessError(process.returncode, argv)
        peak = max(peak, usage.ru_maxrss / 1024)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime), peak


def psnr(ours, theirs):
    """Peak signal-to-noise ratio of their picture against ours, in dB ("inf": identical)."""
    result = subprocess.run([COMPARE, "-metric", "PSNR", ours, theirs, "null:"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return result.stderr.strip().split()[0] if result.stderr.strip() else "?"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", help="the build folder holding src/layerpix-compose")
    parser.add_argument("--runs", type=int, default=5,
                        help="timed rounds for one background (0: skip)")
    parser.add_argument("--batch-runs", type=int, default=3,
                        help="timed rounds for the batch (0: skip)")
    parser.add_argument("--logo-runs", type=int, default=5,
                        help="timed rounds for the logo on the JPEG, blocks kept (0: skip)")
    parser.add_argument("--only", choices=FORMATS, action="append", help="just these formats")
    args = parser.parse_args()
    program = next(p for p in (os.path.join(args.build, "src", "batch", "layerpix-compose"),
                               os.path.join(args.build, "src", "layerpix-compose")) if os.path.exists(p))
    work = os.path.join(args.build, "compare")
    pictures = os.path.join(work, "pictures")
    generate(pictures)

    load = os.getloadavg()[0]
    print("%d cores, load average %.1f; ImageMagick %s; %s" % (
        os.cpu_count(), load, CONVERT,
        subprocess.run([VIPS, "--version"], capture_output=True, text=True).stdout.strip()
        if VIPS else "libvips not installed"))
    print("Background %dx%d, foreground %dx%d keyed #%s at %d,%d, rate %d; JPEG quality %d 4:2:0; "
          "PNG zlib level %d (the peers with adaptive filters, layerpix-compose as its PNG rate 1)"
          % (BACK_SIZE + FRONT_SIZE + (KEY,) + AT + (RATE, JPEG_QUALITY, ZLIB_LEVEL)))
    print()
    header = "%-8s %-16s %9s %9s %7s %12s %9s %9s" % ("case", "tool", "wall s", "cpu s", "x ours", "output B",
                                                       "PSNR dB", "peak MiB")
    print(header)
    print("-" * len(header))
    ratios = {}
    peak_ratios = {}
    for fmt in args.only or FORMATS:
        for count, rounds in ((1, args.runs), (BATCH, args.batch_runs)):
            if rounds == 0:
                continue
            case = "%s x%d" % (fmt, count)
            backs = ([os.path.join(pictures, "back." + fmt)] if count == 1 else
                     sorted(os.path.join(pictures, "batch-" + fmt, n)
                            for n in os.listdir(os.path.join(pictures, "batch-" + fmt))))
            tools = [("layerpix-compose", "lp",
                      lambda out: layerpix_commands(program, pictures, fmt, backs, out)),
                     ("ImageMagick", "im", lambda out: imagemagick_commands(pictures, fmt, backs, out))]
            if VIPS and fmt != "bmp":
                tools.append(("libvips", "vips", lambda out: vips_commands(pictures, fmt, backs, out)))
            walls = {name: [] for name, _, _ in tools}
            cpus = {name: [] for name, _, _ in tools}
            peaks = {name: [] for name, _, _ in tools}
            for round_ in range(rounds + 1):
                shift = round_ % len(tools)
                for name, tag, commands in tools[shift:] + tools[:shift]:
                    out = os.path.join(work, "out", tag)
                    shutil.rmtree(out, ignore_errors=True)
                    os.makedirs(out)
                    wall, cpu, peak = timed(commands(out))
                    if round_ > 0:   # round 0 warms the caches
                        walls[name].append(wall)
                        cpus[name].append(cpu)
                        peaks[name].append(peak)
            ours = statistics.median(walls["layerpix-compose"])
            our_file = output_name(backs[0], os.path.join(work, "out", "lp"))
            for name, tag, _ in tools:
                wall = statistics.median(walls[name])
                ratios[(case, name)] = wall / ours
                peak_ratios[(case, name)] = max(peaks[name]) / max(peaks["layerpix-compose"])
                produced = output_name(backs[0], os.path.join(work, "out", tag))
                print("%-8s %-16s %9.2f %9.2f %7.2f %12d %9s %9.1f" % (
                    case, name, wall, statistics.median(cpus[name]), wall / ours,
                    os.path.getsize(produced), "-" if tag == "lp" else psnr(our_file, produced),
                    max(peaks[name])), flush=True)
    if args.logo_runs > 0 and "jpg" in (args.only or FORMATS):
        ratios.update(logo_case(program, pictures, work, args.logo_runs, "back-camera.jpg",
                                "4:2:0, the standard Huffman tables"))
        ratios.update(logo_case(program, pictures, work, args.logo_runs, "back.jpg",
                                "4:4:4, Huffman tables fitted to it"))
    print()
    print("Targets (whole process; the peer's time as a multiple of ours, blocks kept for the logo):")
    for case, peer, least in TARGETS:
        if (case, peer) in ratios:
            got = ratios[(case, peer)]
            print("  %-11s vs %-12s at least %.1fx: %.2fx  %s" % (
                case, peer, least, got, "met" if got >= least else "MISSED"))
    print("Peak memory of one job (the peer's largest peak over ours; more than 1 is met):")
    for case, peer in MEMORY_TARGETS:
        if (case, peer) in peak_ratios:
            got = peak_ratios[(case, peer)]
            print("  %-11s vs %-12s %.2fx  %s" % (case, peer, got, "met" if got > 1 else "MISSED"))


if __name__ == "__main__":
    main()
