// Path data.
#include "Documents/SvgPathData.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "Documents/SvgNumbers.h"

namespace vt::host::svg {
namespace {

// Endpoint arc to cubics of at most a quarter turn each.
void arcTo(SubPath& s, Point from, double rx, double ry, double angle, bool large, bool sweep, Point to)
{
    auto lineTo = [&](Point p) { s.anchors.push_back({p, p, p}); };
    if (from.x == to.x && from.y == to.y) return;
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0) {
        lineTo(to);
        return;
    }
    double phi = angle * M_PI / 180.0, cp = std::cos(phi), sp = std::sin(phi);
    double dx = (from.x - to.x) / 2, dy = (from.y - to.y) / 2;
    double x1 = cp * dx + sp * dy, y1 = -sp * dx + cp * dy;
    double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double coef = std::sqrt(std::max(0.0, num / den)) * (large == sweep ? -1 : 1);
    double cx1 = coef * rx * y1 / ry, cy1 = -coef * ry * x1 / rx;
    double cx = cp * cx1 - sp * cy1 + (from.x + to.x) / 2, cy = sp * cx1 + cp * cy1 + (from.y + to.y) / 2;
    auto ang = [](double ux, double uy, double vx, double vy) {
        double a = std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
        return a;
    };
    double t1 = ang(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    double dt = ang((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!std::isfinite(dt) || !std::isfinite(t1)) {
        lineTo(to);  // numbers past any real drawing: the point checks refuse them
        return;
    }
    if (!sweep && dt > 0) dt -= 2 * M_PI;
    if (sweep && dt < 0) dt += 2 * M_PI;
    int n = std::max(1, static_cast<int>(std::ceil(std::fabs(dt) / (M_PI / 2) - 1e-9)));
    double step = dt / n, k = 4.0 / 3.0 * std::tan(step / 4);
    auto at = [&](double t, double& x, double& y, double& ddx, double& ddy) {
        double ex = rx * std::cos(t), ey = ry * std::sin(t);
        x = cx + cp * ex - sp * ey;
        y = cy + sp * ex + cp * ey;
        double tx = -rx * std::sin(t), ty = ry * std::cos(t);
        ddx = cp * tx - sp * ty;
        ddy = sp * tx + cp * ty;
    };
    for (int i = 0; i < n; ++i) {
        double a0 = t1 + i * step, a1 = a0 + step;
        double x0, y0, dx0, dy0, x3, y3, dx3, dy3;
        at(a0, x0, y0, dx0, dy0);
        at(a1, x3, y3, dx3, dy3);
        s.anchors.back().out = Point{x0 + k * dx0, y0 + k * dy0};
        Point end = i == n - 1 ? to : Point{x3, y3};
        s.anchors.push_back({end, Point{x3 - k * dx3, y3 - k * dy3}, end});
    }
}

}  // namespace

std::vector<SubPath> parsePathData(const char* d, std::string& bad, size_t& at)
{
    std::vector<SubPath> out;
    Scanner s(d);
    Point cur{0, 0}, start{0, 0}, lastCtrl{0, 0};
    char lastCmd = 0, cmd = 0;
    SubPath* sp = nullptr;
    auto ensure = [&]() {
        if (!sp) {
            out.push_back(SubPath{});
            sp = &out.back();
            sp->anchors.push_back({cur, cur, cur});
            start = cur;
        }
    };
    auto addLine = [&](Point p) {
        ensure();
        sp->anchors.push_back({p, p, p});
        cur = p;
    };
    auto addCurve = [&](Point c1, Point c2, Point p) {
        ensure();
        sp->anchors.back().out = c1;
        sp->anchors.push_back({p, c2, p});
        cur = p;
    };
    auto error = [&](const std::string& what) {
        bad = what;
        at = s.rest() - d;
        return out;
    };
    while (!s.atEnd()) {
        if (std::isalpha(static_cast<unsigned char>(s.peek()))) {
            cmd = s.take();
            if (std::strchr("MmLlHhVvCcSsQqTtAaZz", cmd) == nullptr)
                return error(std::string("unknown command '") + cmd + "'");
        } else if (!cmd) {
            return error("path data must begin with a moveto");
        } else if (cmd == 'Z' || cmd == 'z') {
            return error("number after closepath");
        }
        bool rel = std::islower(static_cast<unsigned char>(cmd));
        Point base = rel ? cur : Point{0, 0};
        double v[7];
        auto need = [&](int n) {
            for (int i = 0; i < n; ++i)
                if (!s.number(v[i])) return false;
            return true;
        };
        switch (std::toupper(cmd)) {
        case 'M':
            if (!need(2)) return error("moveto needs two numbers");
            cur = Point{base.x + v[0], base.y + v[1]};
            sp = nullptr;
            ensure();
            cmd = rel ? 'l' : 'L';  // further pairs are linetos
            break;
        case 'L':
            if (!need(2)) return error("lineto needs two numbers");
            addLine({base.x + v[0], base.y + v[1]});
            break;
        case 'H':
            if (!need(1)) return error("horizontal lineto needs a number");
            addLine({(rel ? cur.x : 0) + v[0], cur.y});
            break;
        case 'V':
            if (!need(1)) return error("vertical lineto needs a number");
            addLine({cur.x, (rel ? cur.y : 0) + v[0]});
            break;
        case 'C':
            if (!need(6)) return error("curveto needs six numbers");
            lastCtrl = {base.x + v[2], base.y + v[3]};
            addCurve({base.x + v[0], base.y + v[1]}, lastCtrl, {base.x + v[4], base.y + v[5]});
            break;
        case 'S': {
            if (!need(4)) return error("smooth curveto needs four numbers");
            char pu = std::toupper(lastCmd);
            Point c1 = (pu == 'C' || pu == 'S') ? Point{2 * cur.x - lastCtrl.x, 2 * cur.y - lastCtrl.y} : cur;
            lastCtrl = {base.x + v[0], base.y + v[1]};
            addCurve(c1, lastCtrl, {base.x + v[2], base.y + v[3]});
            break;
        }
        case 'Q':
        case 'T': {
            Point q, p;
            if (std::toupper(cmd) == 'Q') {
                if (!need(4)) return error("quadratic curveto needs four numbers");
                q = {base.x + v[0], base.y + v[1]};
                p = {base.x + v[2], base.y + v[3]};
            } else {
                if (!need(2)) return error("smooth quadratic curveto needs two numbers");
                char pu = std::toupper(lastCmd);
                q = (pu == 'Q' || pu == 'T') ? Point{2 * cur.x - lastCtrl.x, 2 * cur.y - lastCtrl.y} : cur;
                p = {base.x + v[0], base.y + v[1]};
            }
            lastCtrl = q;
            Point c1{cur.x + 2.0 / 3.0 * (q.x - cur.x), cur.y + 2.0 / 3.0 * (q.y - cur.y)};
            Point c2{p.x + 2.0 / 3.0 * (q.x - p.x), p.y + 2.0 / 3.0 * (q.y - p.y)};
            addCurve(c1, c2, p);
            break;
        }
        case 'A': {
            bool large, sweep;
            if (!s.number(v[0]) || !s.number(v[1]) || !s.number(v[2]) || !s.flag(large) || !s.flag(sweep) ||
                !s.number(v[3]) || !s.number(v[4]))
                return error("arc needs rx ry angle large-arc sweep x y");
            ensure();
            Point to{base.x + v[3], base.y + v[4]};
            arcTo(*sp, cur, v[0], v[1], v[2], large, sweep, to);
            cur = to;
            break;
        }
        case 'Z':
            if (sp) {
                sp->closed = true;
                // A last anchor on the first one closes with a curve: one anchor.
                if (sp->anchors.size() > 1) {
                    const auto& last = sp->anchors.back();
                    auto& first = sp->anchors.front();
                    if (static_cast<float>(last.p.x) == static_cast<float>(first.p.x) &&
                        static_cast<float>(last.p.y) == static_cast<float>(first.p.y)) {
                        first.in = last.in;
                        sp->anchors.pop_back();
                    }
                }
            }
            cur = start;
            sp = nullptr;
            break;
        }
        lastCmd = cmd;
        if (std::toupper(cmd) == 'Z') lastCmd = 'Z';
    }
    return out;
}

}  // namespace vt::host::svg
