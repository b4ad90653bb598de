// Writes the given pieces as the whole document, in order. The written page
// runs no script of its own: a <video> the engine cannot play (no source, a
// format it does not know) shows the hidden ".video-unplayable" after it.
(function (pieces) {
    document.open();
    for (var i = 0; i < pieces.length; ++i)
        document.write(pieces[i]);
    document.close();
    var videos = document.getElementsByTagName('video');
    for (var v = 0; v < videos.length; ++v) {
        (function (video) {
            function failed() {
                var note = video.nextElementSibling;
                if (note && note.className === 'video-unplayable')
                    note.hidden = false;
            }
            video.addEventListener('error', failed);
            if (video.error || video.networkState === 3)
                failed();
        })(videos[v]);
    }
    return true;
})
