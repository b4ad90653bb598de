// Gathers what a reader of page designs we do not know needs from the page as
// it is rendered now: its pictures (what they show, what they would load in
// view, their sizes and places, the link around them and the words that name
// them), the texts of its inline data scripts and its <meta> properties.
// Every list is capped: a page of any size answers in bounded time and size.
(function (maxPictures, maxScriptChars, maxMetas) {
    var result = { hasDocument: false, hasBody: false, rendered: true, title: '', url: '', divs: [],
                   pictures: [], dataScripts: [], metas: [] };
    if (!document || !document.documentElement)
        return result;
    result.hasDocument = true;
    result.hasBody = !!document.body;
    result.url = String(location.href);
    var titles = document.getElementsByTagName('title');
    if (titles.length > 0)
        result.title = titles[0].innerText;
    var maxAddress = 2048;
    var lazyNames = ['data-src', 'data-original', 'data-lazy-src', 'data-lazyload', 'data-ks-lazyload',
                     'data-lazy', 'data-img', 'data-url'];

    function address(text) {
        text = String(text || '');
        return text.length > maxAddress || text.indexOf('data:') === 0 ? '' : text;
    }

    function wordsOf(element) {
        var words = [];
        for (var e = element, depth = 0; e && e.getAttribute && depth < 4; e = e.parentElement, ++depth)
            words.push(e.id || '', e.getAttribute('class') || '', e.getAttribute('alt') || '');
        return words.join(' ').toLowerCase().slice(0, 300);
    }

    function lazyOf(image) {
        for (var n = 0; n < lazyNames.length; ++n) {
            var value = image.getAttribute(lazyNames[n]);
            if (value)
                return address(value);
        }
        return '';
    }

    var images = document.images;
    var scrollTop = window.scrollY || 0;
    for (var i = 0; i < images.length && result.pictures.length < maxPictures; ++i) {
        var image = images[i];
        var box = image.getBoundingClientRect();
        var link = image.closest ? image.closest('a[href]') : null;
        result.pictures.push({ src: address(image.currentSrc || image.src), lazySrc: lazyOf(image),
                               width: box.width, height: box.height,
                               naturalWidth: image.naturalWidth || 0, naturalHeight: image.naturalHeight || 0,
                               top: box.top + scrollTop, link: link ? address(link.href) : '',
                               words: wordsOf(image) });
    }

    var scripts = document.getElementsByTagName('script');
    var budget = maxScriptChars;
    for (var s = 0; s < scripts.length; ++s) {
        if (scripts[s].src)
            continue;
        var text = scripts[s].text;
        if (text.length > budget || text.indexOf('{') < 0)
            continue;
        result.dataScripts.push(text);
        budget -= text.length;
    }

    var metas = document.getElementsByTagName('meta');
    for (var m = 0; m < metas.length && result.metas.length < maxMetas; ++m) {
        var name = metas[m].getAttribute('property') || metas[m].getAttribute('name') || '';
        var content = metas[m].getAttribute('content') || '';
        if (name && content.length <= maxAddress)
            result.metas.push([name, content]);
    }
    return result;
})
