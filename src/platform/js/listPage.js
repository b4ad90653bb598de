// A list page as data: the links that may name an offer and the page's
// 下一页 control. Nothing the page holds is run; with `press`, the control
// found by the same rule is clicked, as a user would.
(function (maxLinks, press) {
    var out = { hasDocument: false, readyState: '', url: '', links: [], next: '', nextHref: '', pressed: false };
    if (!document || !document.documentElement)
        return JSON.stringify(out);
    out.hasDocument = true;
    out.readyState = document.readyState;
    out.url = String(location.href);
    var anchors = document.getElementsByTagName('a');
    for (var i = 0; i < anchors.length && out.links.length < maxLinks; ++i) {
        var href = anchors[i].href;  // resolved by the browser against the page and its <base>
        if (typeof href === 'string' && href.length < 2048 && /\/offer\/|offerId=/i.test(href))
            out.links.push(href);
    }
    function squeezed(el) {
        var text = el.tagName === 'INPUT' ? el.value : (el.innerText || el.textContent);
        return String(text || '').replace(/[\s>›»→]+/g, '');
    }
    function disabled(el) {
        for (var e = el, up = 0; e && up < 2; e = e.parentElement, ++up) {
            if (e.disabled === true || e.hasAttribute('disabled') || e.getAttribute('aria-disabled') === 'true')
                return true;
            var cls = typeof e.className === 'string' ? e.className : '';
            if (/(^|[\s_-])disabled?($|[\s_-])/i.test(cls))
                return true;
        }
        return false;
    }
    function followable(el) {
        var href = typeof el.href === 'string' ? el.href : '';
        var raw = el.getAttribute('href') || '';
        return /^https?:/i.test(href) && raw.charAt(0) !== '#';
    }
    var found = null;
    var controls = document.querySelectorAll('a,button,input[type=button],input[type=submit],[role=button]');
    for (var c = 0; c < controls.length && !found; ++c)
        if (squeezed(controls[c]) === '下一页' && !disabled(controls[c]))
            found = controls[c];
    var byRel = document.querySelectorAll('a[rel~=next],link[rel~=next]');
    for (var r = 0; r < byRel.length && !found; ++r)
        if (!disabled(byRel[r]) && followable(byRel[r]))
            found = byRel[r];
    if (found) {
        var isLink = (found.tagName === 'A' || found.tagName === 'LINK') && followable(found);
        out.next = isLink ? 'link' : 'button';
        out.nextHref = isLink ? found.href : '';
        if (press && !isLink) {
            found.click();
            out.pressed = true;
        }
    }
    return JSON.stringify(out);
})
